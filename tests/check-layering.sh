#!/usr/bin/env bash
# Fails when a layer includes what it must not: the logic layers no widget, GStreamer,
# desktop or adapter header (and core, persist, associations and lyrics no picture either);
# persist, associations and lyrics nothing of the layers above them; the platform adapters
# no widget; the stored looks nothing of the windows, dialogs or adapters.
src=${1:?usage: check-layering.sh SRC_DIR}
widgets='QtWidgets|QWidget|QApplication|QDialog|QFileDialog|QMainWindow|QLabel|QMessageBox|QMenu'
refuse() { # refuse WHAT PATTERN FOLDER...  (ALLOW: a pattern of includes let through)
    local what=$1 pattern=$2; shift 2
    local found
    found=$(grep -rnE "#include *[<\"]($pattern)" "$@" 2>/dev/null | grep -vE "${ALLOW:-^$}")
    [[ -z $found ]] && return 0
    echo "$what:"; printf '%s\n' "$found"
    return 1
}
status=0
refuse "Logic layers reach into widgets, GStreamer, the network or the adapters" \
    "Qt(Widgets|Network|Multimedia)|$widgets|QLocalSocket|QLocalServer|gst/|glib|platform/|ui/|dialogs/|looks/" \
    "$src/core" "$src/persist" "$src/associations" "$src/lyrics" "$src/slideshow" || status=1
refuse "Core, persist, associations or lyrics use pictures" "QtGui|QImage|QPainter|QPixmap|QColor|QFont" \
    "$src/core" "$src/persist" "$src/associations" "$src/lyrics" || status=1
refuse "Persist reaches up into associations, lyrics or core" "associations/|lyrics/|core/" \
    "$src/persist" || status=1
# The one interface they may use from core: the road of messages to the user.
ALLOW='"core/usermessages\.h"' refuse "Associations reach up into lyrics, core or the slideshow" \
    "lyrics/|core/|slideshow/" \
    "$src/associations" || status=1
refuse "Lyrics reach up into core" "core/" "$src/lyrics" || status=1
refuse "Platform adapters use widgets" "$widgets" "$src/platform" || status=1
refuse "Stored looks reach into the windows, dialogs, adapters or GStreamer" \
    "ui/|dialogs/|platform/|core/|slideshow/|gst/|glib" "$src/looks" || status=1
[[ $status -eq 0 ]] && echo "layering: 1 passed, 0 failed"
exit $status
