#include "SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

#include <pwd.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {
// The reason a file could not be written, in the words the game's notice uses.
QString diagnose(const QString& fileName)
{
    const QFileInfo file(fileName);
    const QFileInfo directory(file.path());
    if (file.isDir())
        return QStringLiteral("na místě souboru je adresář");
    if (!directory.exists())
        return QStringLiteral("adresář %1 nelze vytvořit")
            .arg(QDir::toNativeSeparators(file.path()));
    if (!directory.isDir())
        return QStringLiteral("%1 není adresář").arg(QDir::toNativeSeparators(file.path()));
    if (file.exists() && !file.isWritable())
        return QStringLiteral("soubor je jen pro čtení");
    if (file.exists() && !file.isReadable())
        return QStringLiteral("soubor nelze číst");
    if (!directory.isWritable())
        return QStringLiteral("do adresáře nelze zapisovat");
    struct statvfs fs {};
    if (statvfs(QFile::encodeName(file.path()).constData(), &fs) == 0) {
        if (fs.f_flag & ST_RDONLY)
            return QStringLiteral("disk je jen pro čtení");
        // A save writes a new copy of the file beside the old one.
        if (qint64(fs.f_bavail) * qint64(fs.f_bsize) < file.size() + 8192)
            return QStringLiteral("na disku není volné místo");
    }
    return QStringLiteral("zápis se nezdařil");
}

QString storeFileName()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) {
        QString home = qEnvironmentVariable("HOME");
        // Started without an environment (some launchers, services): the user database still
        // knows the home directory, where "/.config" would not be the user's to write.
        if (home.isEmpty())
            if (const passwd* user = getpwuid(getuid()); user && user->pw_dir)
                home = QFile::decodeName(user->pw_dir);
        config = home + QStringLiteral("/.config");
    }
    return config + QStringLiteral("/Lotaro/Lotaro.ini");
}
} // namespace

IniSettingsStore::IniSettingsStore() : m_settings(makeSettings()) {}

IniSettingsStore::~IniSettingsStore() = default;

std::unique_ptr<QSettings> IniSettingsStore::makeSettings() const
{
    if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME") && qEnvironmentVariableIsEmpty("HOME"))
        return std::make_unique<QSettings>(storeFileName(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Lotaro"), QStringLiteral("Lotaro"));
}

QString IniSettingsStore::read(const QString& section, const QString& key,
                               const QString& defaultValue) const
{
    const QVariant value = m_settings->value(section + u'/' + key);
    if (!value.isValid())
        return defaultValue;
    // A hand-edited file may hold a list ("a, b"); take the text as written.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void IniSettingsStore::write(const QString& section, const QString& key, const QString& value)
{
    m_settings->setValue(section + u'/' + key, value);
}

bool IniSettingsStore::sync()
{
    // QSettings keeps an error once it has met one; a fresh object tells this sync's outcome.
    // The values a failed sync could not write stay in Qt's cache of the file, so the fresh
    // object still holds them and writes them this time.
    if (m_settings->status() != QSettings::NoError)
        m_settings = makeSettings();
    // The file is replaced as a whole, once per save: a large file shared with other programs
    // is rewritten once, and a kill in the middle of a save leaves the old file, never half a
    // table.
    m_settings->sync();
    const bool ok = m_settings->status() == QSettings::NoError;
    m_failure = ok ? QString() : diagnose(fileName());
    return ok;
}

std::shared_ptr<void> IniSettingsStore::lockForSave()
{
    // Beside the lock QSettings takes for each sync: this one spans a read and the write after.
    const QString name = fileName();
    QDir().mkpath(QFileInfo(name).path());
    auto lock = std::make_shared<QLockFile>(name + QStringLiteral(".save-lock"));
    // A copy holds it for a moment only; one that cannot be had (an unwritable directory) does
    // not stop the save, which then reports the directory.
    lock->setStaleLockTime(10000);
    lock->tryLock(5000);
    return lock;
}

QString IniSettingsStore::fileName() const
{
    return m_settings->fileName();
}
