#!/usr/bin/env bash
# Fails when a logic layer includes a widget, GStreamer, desktop or adapter header.
src=${1:?usage: check-layering.sh SRC_DIR}
pattern='#include *[<"](Qt(Widgets|Network|Multimedia)|QWidget|QApplication|QDialog|QMainWindow|QLabel|QMessageBox|QFileDialog|QLocalSocket|QLocalServer|gst/|glib|platform/|ui/|dialogs/)'
hits=$(grep -rnE "$pattern" "$src/core" "$src/persist" "$src/lyrics" "$src/slideshow" 2>/dev/null)
gui=$(grep -rnE '#include *[<"](QtGui|QImage|QPainter|QPixmap|QColor|QFont)' \
    "$src/core" "$src/persist" "$src/lyrics" 2>/dev/null)
if [[ -n "$hits$gui" ]]; then
    echo "Layering broken:"; printf '%s\n' "$hits" "$gui" | sed '/^$/d'
    exit 1
fi
echo "layering: 1 passed, 0 failed"
