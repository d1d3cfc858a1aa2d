// Tests of the windows: a private copy of the program folder's data files
// (languages, skin, RES pictures, settings, version file) in a temporary
// folder that becomes ExePath, with the settings read and written there,
// one fake disk, and the program folder's skin on the test application.
#pragma once

#include "app/shell/option_window_model.h"
#include "app/shell/program_windows.h"
#include "app/common/shared_bitmaps.h"
#include "app/widgets/test_skin.h"
#include "platform/paths.h"
#include "platform/volumes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace vt::shell {

class TestProgramFolder {
    // First: the members below live in it.
    QTemporaryDir dir_;

public:
    TestProgramFolder()
    {
        const QString bin = qEnvironmentVariable("VANTOREL_BIN_DIR", QStringLiteral(VANTOREL_BIN_DIR)) + '/';
        for (const char *entry : {"Lang", "Skin", "RES", "Language.ini", "Option.ini", "version.ini",
                                  "PellornHelp.html"})
            copy(bin + entry, path() + entry);
        QDir().mkpath(path() + "D/Temp");  // made beforehand: nothing is made at a disk's top
        QDir().mkpath(path() + "home");
        volumes_.list = {{path().toStdString() + "D/", 20ull << 30}};
        SetExePath(path().toStdString());
        applyTestSkin();
    }

    // The folder, with a trailing '/'.
    QString path() const { return dir_.path() + '/'; }
    std::string file(const char *name) const { return (path() + name).toStdString(); }

    SettingsEnvironment environment(const std::string &userLanguage = "English") const
    {
        return SettingsEnvironment {
            file("Option.ini"),
            file("Option.ini"),
            UserRegistry(file("registry.ini")),
            RegionList(file("Language.ini"), file("Subtitle.ini"), file("Subtitle.ini")),
            FolderContext {&volumes_, file("home/"), path().toStdString(), file("Temp/")},
            userLanguage,
            7,
        };
    }

    // Every window of the program over this folder.
    std::unique_ptr<ProgramWindows> createWindows()
    {
        return std::make_unique<ProgramWindows>(
            ProgramServices {settings, language, bitmaps, environment(), path().toStdString()});
    }

    QString readFile(const char *name) const
    {
        QFile f(path() + name);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void removeFile(const char *name) const { QFile::remove(path() + name); }

    Settings settings;
    UiLanguage language {file("Lang/")};
    SharedBitmaps bitmaps;

private:
    class OneDisk : public VolumeSource {
    public:
        std::vector<Volume> list;
        std::vector<Volume> volumes() const override { return list; }
    };

    static void copy(const QString &from, const QString &to)
    {
        if (QFileInfo(from).isDir()) {
            QDir().mkpath(to);
            for (const QString &name : QDir(from).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
                copy(from + '/' + name, to + '/' + name);
        } else {
            QFile::copy(from, to);
        }
    }

    OneDisk volumes_;
};

} // namespace vt::shell
