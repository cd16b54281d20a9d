#include "persist/listfiles.h"

#include "persist/textcodec.h"

namespace {

const QString EndMark = QStringLiteral("[END]");

// The lines before the end line, and whether there was one.
ListFileEntries linesBeforeEnd(const QString &text)
{
    QStringList lines = splitLines(text);
    const qsizetype end = lines.indexOf(EndMark);
    if (end < 0)
        return {lines, false};
    lines.resize(end);
    return {lines, true};
}

WriteResult saveList(const QString &path, const QStringList &items)
{
    QStringList lines = items;
    lines.append(EndMark);
    return writeTextLines(path, lines);
}

// The list in the file at `path`, parsed by `parse`.
template <typename Parse> ReadResult<ListFileEntries> readList(const QString &path, Parse parse)
{
    const ReadResult<QString> read = readTextFile(path, SmallTextFileLimit);
    if (!read.isRead())
        return {read.status, {}, read.error};
    return {ReadStatus::Read, parse(read.value), QString()};
}

} // namespace

ListContents picListContents(const ListFileEntries &pictures, ListSelection selection)
{
    const bool selectFirst = selection == ListSelection::FirstAfterEndMark && pictures.hasEndMark &&
                             !pictures.items.isEmpty();
    return {pictures.items, selectFirst ? 0 : -1};
}

ListFileEntries parsePicList(const QString &text, const QString &programFolder)
{
    const ListFileEntries stored = linesBeforeEnd(text);
    const QString prefix = programFolder.endsWith(u'/') ? programFolder : programFolder + u'/';
    ListFileEntries pictures{{}, stored.hasEndMark};
    for (const QString &line : stored.items) {
        if (!line.isEmpty())
            pictures.items.append(line.startsWith(u'/') ? line : prefix + line);
    }
    return pictures;
}

ListFileEntries parseLyricDirList(const QString &text)
{
    return linesBeforeEnd(text);
}

ReadResult<ListFileEntries> LoadPicList(const QString &path, const QString &programFolder)
{
    return readList(path, [&](const QString &text) { return parsePicList(text, programFolder); });
}

ReadResult<ListFileEntries> LoadLyricDirList(const QString &path)
{
    return readList(path, parseLyricDirList);
}

WriteResult SavePicList(const QString &path, const QStringList &pictures)
{
    return saveList(path, pictures);
}

WriteResult SaveLyricDirList(const QString &path, const QStringList &folders)
{
    return saveList(path, folders);
}
