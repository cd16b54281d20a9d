#include <fcntl.h>
#include <iostream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/runtimefolder.h"

namespace {

// What stands at a folder's place before the choice.
enum class Stand {
    Unset, // the session names no runtime folder
    Missing,
    Private,  // a folder of ours with 0700
    Relative, // a private folder of ours, named relative to the working folder
    Open,     // a folder of ours with 0755
    Link,     // a symbolic link to a private folder of ours
    File,     // a file of ours with 0700
    Foreign,  // a folder with 0700 of the user "nobody"
};

// Which folder serves; the order indexes the paths each test case compares with.
enum class Chosen { Session, Fallback, None };

// Puts `stand` at `path`; false when it cannot be made here (another user's folder needs
// root).
bool prepare(Stand stand, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    switch (stand) {
    case Stand::Unset:
    case Stand::Missing:
        return true;
    case Stand::Private:
    case Stand::Relative:
        return ::mkdir(name, 0700) == 0;
    case Stand::Open:
        return ::mkdir(name, 0700) == 0 && ::chmod(name, 0755) == 0;
    case Stand::Link:
        return ::mkdir(name + "-target", 0700) == 0 && ::symlink(name + "-target", name) == 0;
    case Stand::File:
        return ::close(::open(name, O_CREAT | O_WRONLY, 0700)) == 0;
    case Stand::Foreign: {
        const passwd *nobody = ::getpwnam("nobody");
        return ::geteuid() == 0 && nobody && ::mkdir(name, 0700) == 0 &&
               ::chown(name, nobody->pw_uid, nobody->pw_gid) == 0;
    }
    }
    return false;
}

TEST(RuntimeFolderTest, OnlyAFolderPrivateToTheUserServes)
{
    struct Case
    {
        const char *name;
        Stand session, fallback;
        Chosen chosen;
    };
    const Case cases[] = {
        {"a private runtime folder", Stand::Private, Stand::Missing, Chosen::Session},
        {"no runtime folder", Stand::Unset, Stand::Missing, Chosen::Fallback},
        {"a relative runtime folder", Stand::Relative, Stand::Missing, Chosen::Fallback},
        {"a runtime folder that is missing", Stand::Missing, Stand::Missing, Chosen::Fallback},
        {"a runtime folder open to others", Stand::Open, Stand::Private, Chosen::Fallback},
        {"a link to a private folder", Stand::Link, Stand::Missing, Chosen::Fallback},
        {"a file as the runtime folder", Stand::File, Stand::Missing, Chosen::Fallback},
        {"another user's runtime folder", Stand::Foreign, Stand::Missing, Chosen::Fallback},
        {"the fallback made first by another user", Stand::Unset, Stand::Foreign, Chosen::None},
        {"the fallback open to others", Stand::Unset, Stand::Open, Chosen::None},
    };
    for (const Case &each : cases) {
        QTemporaryDir root;
        const QString session = each.session == Stand::Unset ? QString() : root.filePath("run");
        const QString temporary = root.filePath("tmp");
        ASSERT_TRUE(QDir().mkdir(temporary));
        const QString fallback = temporary + QStringLiteral("/zorvan-%1").arg(::geteuid());
        if (!prepare(each.session, session) || !prepare(each.fallback, fallback)) {
            // Only another user's folder cannot be made, when not run as root.
            std::cout << "not tried: " << each.name << " (another user's folder needs root)\n";
            continue;
        }

        const RuntimeFolder folder = privateRuntimeFolder(
            each.session == Stand::Relative ? QDir().relativeFilePath(session) : session,
            temporary);
        SCOPED_TRACE(each.name);
        const bool isFallback = each.chosen == Chosen::Fallback;
        const QString chosenPath[] = {session, fallback, {}};
        EXPECT_EQ(folder.path, chosenPath[int(each.chosen)]);
        struct stat made = {};
        EXPECT_TRUE(!isFallback || (::lstat(QFile::encodeName(fallback), &made) == 0 &&
                                    S_ISDIR(made.st_mode) && (made.st_mode & 0777) == 0700));
        // Only a runtime folder that was set and passed over is worth a word.
        EXPECT_EQ(folder.problem.isEmpty(),
                  each.chosen == Chosen::Session || (isFallback && each.session == Stand::Unset));
    }
}

} // namespace
