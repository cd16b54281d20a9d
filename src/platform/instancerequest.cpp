#include "platform/instancerequest.h"

#include <QStringDecoder>

namespace InstanceRequest {

namespace {

const QByteArray ActivateLine = "activate\n";
const QByteArray OpenVerb = "open ";

Parsed malformed()
{
    return {Status::Malformed, {}};
}

// The decimal length of an open header; nullopt for anything but plain digits within the
// limit.
std::optional<qsizetype> bodyLength(QByteArrayView digits)
{
    if (digits.isEmpty() || (digits.size() > 1 && digits.front() == '0'))
        return std::nullopt;
    qsizetype length = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        length = length * 10 + (digit - '0');
        if (length > MaxBodyBytes)
            return std::nullopt;
    }
    return length;
}

std::optional<CommandLineSongs> songsOf(QByteArrayView body)
{
    if (body.isEmpty() || body.back() != '\0')
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    CommandLineSongs songs;
    qsizetype start = 0;
    bool isPath = true;
    bool isFolder = false;
    while (start < body.size()) {
        const qsizetype end = body.indexOf('\0', start);
        const QString field = decoder.decode(body.sliced(start, end - start));
        if (decoder.hasError())
            return std::nullopt;
        if (isPath) {
            isFolder = field.isEmpty();
            if (!isFolder)
                songs.songs.append(field);
        } else if (isFolder) {
            if (!field.startsWith(u'/'))
                return std::nullopt;
            songs.folders.append({songs.songs.size(), field});
        } else {
            songs.infos.append(field);
        }
        isPath = !isPath;
        start = end + 1;
    }
    if (!isPath)
        return std::nullopt;
    return songs;
}

} // namespace

QByteArray activation()
{
    return ActivateLine;
}

std::optional<QByteArray> open(const CommandLineSongs &songs)
{
    QByteArray requests;
    QByteArray body;
    const auto endRequest = [&] {
        requests += OpenVerb + QByteArray::number(body.size()) + '\n' + body;
        body.clear();
    };
    const auto addFields = [&](const QString &first, const QString &second) {
        const QByteArray fields = first.toUtf8() + '\0' + second.toUtf8() + '\0';
        if (fields.size() > MaxBodyBytes)
            return false;
        if (body.size() + fields.size() > MaxBodyBytes)
            endRequest();
        body += fields;
        return true;
    };
    qsizetype folder = 0;
    const auto addFoldersBefore = [&](qsizetype song) {
        for (; folder < songs.folders.size() && songs.folders.at(folder).before <= song; ++folder) {
            if (!addFields({}, songs.folders.at(folder).path))
                return false;
        }
        return true;
    };
    for (qsizetype i = 0; i < songs.songs.size(); ++i) {
        const QString &info = i < songs.infos.size() ? songs.infos.at(i) : songs.songs.at(i);
        if (!addFoldersBefore(i) || !addFields(songs.songs.at(i), info))
            return std::nullopt;
    }
    if (!addFoldersBefore(songs.songs.size()))
        return std::nullopt;
    endRequest();
    return requests;
}

Parsed parse(const QByteArray &received)
{
    const qsizetype newline = received.left(MaxHeaderBytes).indexOf('\n');
    if (newline < 0) {
        // Only a beginning of one of the two headers may still become a request.
        const QByteArray start = received.left(OpenVerb.size());
        const bool canGrow = received.size() < MaxHeaderBytes &&
                             (ActivateLine.startsWith(received) || OpenVerb.startsWith(start));
        return canGrow ? Parsed{} : malformed();
    }
    const QByteArrayView header(received.constData(), newline + 1);
    if (header == ActivateLine)
        return {Status::Complete, {}, header.size()};
    if (!header.startsWith(OpenVerb))
        return malformed();
    const std::optional<qsizetype> length =
        bodyLength(header.sliced(OpenVerb.size(), header.size() - OpenVerb.size() - 1));
    if (!length)
        return malformed();
    const qsizetype total = header.size() + *length;
    if (received.size() < total)
        return {};
    const std::optional<CommandLineSongs> songs =
        songsOf(QByteArrayView(received).sliced(header.size(), *length));
    if (!songs)
        return malformed();
    return {Status::Complete, *songs, total};
}

} // namespace InstanceRequest
