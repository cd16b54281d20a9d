#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "persist/regist.h"
#include "persist/registrymessages.h"
#include "platform/mimeregistry.h"

// A desktop of its own for each test: HOME and the XDG folders lie in a temporary folder,
// set for this process and for the tools it runs. The shared MIME database is the system's,
// linked into the temporary data folder. XDG_CURRENT_DESKTOP names a desktop that xdg-mime
// knows no special method for, so it reads the mimeapps.list files without probing the
// session.
class MimeDesktopTest : public testing::Test
{
protected:
    class NoMessages : public RegistryMessages
    {
    public:
        void show(const QString &text) override { ADD_FAILURE() << text.toStdString(); }
    };

    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        const QString mimeFolder = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                          "mime", QStandardPaths::LocateDirectory);
        ASSERT_FALSE(mimeFolder.isEmpty()) << "no shared MIME database";
        const std::pair<const char *, QString> values[] = {
            {"HOME", home},
            {"XDG_CONFIG_HOME", configHome},
            {"XDG_DATA_HOME", dataHome},
            {"XDG_CONFIG_DIRS", systemConfig},
            {"XDG_DATA_DIRS", systemData},
        };
        for (const auto &[name, value] : values) {
            ASSERT_TRUE(QDir().mkpath(value));
            saved.insert(name, qgetenv(name));
            qputenv(name, value.toUtf8());
        }
        saved.insert("XDG_CURRENT_DESKTOP", qgetenv("XDG_CURRENT_DESKTOP"));
        qputenv("XDG_CURRENT_DESKTOP", "X-Generic");
        ASSERT_TRUE(QFile::link(mimeFolder, systemData + "/mime"));
        ASSERT_TRUE(QDir().mkpath(programFolder));
        writeFile(programPath, "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(programPath, QFile::permissions(programPath) | QFile::ExeOwner);
    }

    void TearDown() override
    {
        for (auto variable = saved.cbegin(); variable != saved.cend(); ++variable) {
            if (variable.value().isNull())
                qunsetenv(variable.key().constData());
            else
                qputenv(variable.key().constData(), variable.value());
        }
        EXPECT_EQ(registry.openKeyCount(), 0);
    }

    QString folder(const QString &relative) const { return root.filePath(relative); }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // A desktop entry `desktopId` in `applications` that opens `mimeTypes` ("a/b;c/d;").
    static void installEntry(const QString &applications, const QString &desktopId,
                             const QByteArray &exec, const QByteArray &mimeTypes)
    {
        writeFile(applications + '/' + desktopId,
                  "[Desktop Entry]\nType=Application\nName=" + desktopId.toUtf8() +
                      "\nExec=" + exec + "\nMimeType=" + mimeTypes + '\n');
    }

    // The standard output of a tool run on this desktop, trimmed; fails the test when it
    // cannot be run or does not end within 20 seconds.
    QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
    {
        QProcessEnvironment environment;
        environment.insert("PATH", qEnvironmentVariable("PATH"));
        for (const QByteArray &name : saved.keys())
            environment.insert(name, qEnvironmentVariable(name.constData()));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(20000)) {
            ADD_FAILURE() << program.toStdString() << " did not finish";
            process.kill();
            process.waitForFinished(1000);
            return QString();
        }
        if (exitCode)
            *exitCode = process.exitCode();
        return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())
            .trimmed();
    }

    QString queryDefault(const QString &mimeType)
    {
        return run("xdg-mime", {"query", "default", mimeType});
    }

    QTemporaryDir root;
    const QString home = folder("home");
    const QString configHome = folder("home/config");
    const QString dataHome = folder("home/data");
    const QString systemConfig = folder("etc/xdg");
    const QString systemData = folder("usr/share");
    const QString userApplications = dataHome + "/applications";
    const QString systemApplications = systemData + "/applications";
    const QString userList = configHome + "/mimeapps.list";
    const QString programFolder = folder("home/config/zorvan");
    const QString programPath = folder("opt/zorvan/zorvan");
    const QString entryPath = userApplications + "/zorvanplayer.desktop";

    QMap<QByteArray, QByteArray> saved;
    MimeRegistry registry{programPath, programFolder};
    NoMessages messages;
    Regist regist{registry, messages};
};
