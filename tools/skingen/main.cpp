#include <cstdio>

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>

#include "buttonpictures.h"
#include "contactsheet.h"
#include "core/skinlayout.h"
#include "skin/skinimages.h"
#include "skinpicture.h"

// skingen OUTPUT_DIR SHEET_FILE
//
// Draws every skin picture at 1x and 2x into OUTPUT_DIR (under the resource paths the player
// loads them by), writes OUTPUT_DIR/skin.qrc listing them for rcc, and writes a contact sheet
// of all of them to SHEET_FILE. Exits non-zero, with a message, when anything fails, so the
// build stops instead of embedding a partial skin.

namespace {

bool fail(const QString &message)
{
    std::fprintf(stderr, "skingen: %s\n", qPrintable(message));
    return false;
}

bool writeImage(const QImage &image, const QString &file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QImageWriter writer(file, "png");
    if (!writer.write(image)) {
        return fail(QStringLiteral("cannot write %1: %2").arg(file, writer.errorString()));
    }
    return true;
}

bool writeResourceList(const QStringList &paths, const QString &file)
{
    QByteArray text = "<RCC>\n  <qresource prefix=\"/\">\n";
    for (const QString &path : paths) {
        text += "    <file>" + path.toUtf8() + "</file>\n";
    }
    text += "  </qresource>\n</RCC>\n";
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
        return fail(QStringLiteral("cannot write %1: %2").arg(file, out.errorString()));
    }
    return true;
}

bool generate(const QString &outputDir, const QString &sheetFile)
{
    // Without the font the lettering would come out as empty boxes.
    if (!QFontDatabase::families().contains(QStringLiteral("Noto Sans CJK SC"))) {
        return fail(QStringLiteral("the font Noto Sans CJK SC is missing "
                                   "(Debian package fonts-noto-cjk)"));
    }
    QList<Picture> pictures{{skinMainPicturePath(), Skin::PictureSize, drawSkin}};
    pictures += buttonPictures();

    const QDir dir(outputDir);
    QList<RenderedPicture> rendered;
    QStringList paths;
    for (const Picture &picture : pictures) {
        const RenderedPicture drawn{picture.path, renderPicture(picture, 1),
                                    renderPicture(picture, 2)};
        const QString doubled = doubleSizePath(picture.path);
        if (!writeImage(drawn.normal, dir.filePath(picture.path)) ||
            !writeImage(drawn.doubled, dir.filePath(doubled))) {
            return false;
        }
        paths << picture.path << doubled;
        rendered.append(drawn);
    }
    return writeResourceList(paths, dir.filePath(QStringLiteral("skin.qrc"))) &&
           writeImage(makeContactSheet(rendered), sheetFile);
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing needs no screen; a build machine may have none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: skingen OUTPUT_DIR SHEET_FILE\n");
        return 2;
    }
    return generate(arguments.at(1), arguments.at(2)) ? 0 : 1;
}
