#include "extras/DesktopShortcut.h"

#include "common/Global.h"
#include "ui/QtText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kavo {
namespace {

// Desktop entry values: backslash, newline and tab must be escaped; Exec paths are quoted.
QString entryValue(QString text) {
    text.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    text.replace(QStringLiteral("\n"), QStringLiteral("\\n"));
    return text;
}

QString execPath(QString path) {
    for (const char* special : {"\\", "\"", "`", "$"})
        path.replace(Q(special), QStringLiteral("\\") + Q(special));
    return QStringLiteral("\"") + path + QStringLiteral("\"");
}

} // namespace

std::string DesktopFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return folder.isEmpty() ? std::string() : AddPathDelim(S(folder));
}

std::string CreateDesktopShortcut(const std::string& name, const std::string& folder) {
    const std::string target = folder.empty() ? DesktopFolder() : AddPathDelim(folder);
    if (target.empty() || name.empty())
        return {};
    QDir().mkpath(Q(target));
    const QString exe = Q(GetAppExePath());
    const QString file = Q(target + name + ".desktop");
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\n");
    text += QStringLiteral("Name=") + entryValue(Q(name)) + QStringLiteral("\n");
    text += QStringLiteral("Comment=") + entryValue(Q(name)) + QStringLiteral("\n");
    text += QStringLiteral("Exec=") + entryValue(execPath(exe)) + QStringLiteral("\n");
    text += QStringLiteral("Path=") + entryValue(QFileInfo(exe).absolutePath()) + QStringLiteral("\n");
    text += QStringLiteral("Terminal=false\nCategories=Office;\n");
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        WriteLog("desktop launcher not written: " + S(file));
        return {};
    }
    out.write(text.toUtf8());
    out.close();
    // Desktops only start launchers that are executable.
    out.setPermissions(out.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return S(file);
}

void RegisterInstallPath() {
    QSettings settings(QStringLiteral("vantor"), QStringLiteral("kavo"));
    const QString exe = Q(GetAppExePath());
    if (settings.value(QStringLiteral("install")).toString() != exe)
        settings.setValue(QStringLiteral("install"), exe);
}

std::string RegisteredInstallPath() {
    QSettings settings(QStringLiteral("vantor"), QStringLiteral("kavo"));
    return S(settings.value(QStringLiteral("install")).toString());
}

} // namespace kavo
