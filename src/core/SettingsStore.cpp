#include "SettingsStore.h"

#include <QSettings>

IniSettingsStore::IniSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Lotaro"), QStringLiteral("Lotaro")))
{
}

IniSettingsStore::~IniSettingsStore() = default;

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

void IniSettingsStore::sync()
{
    // The file is replaced as a whole, once per save: a large file shared with other programs
    // is rewritten once, and a kill in the middle of a save leaves the old file, never half a
    // table.
    m_settings->sync();
}

QString IniSettingsStore::fileName() const
{
    return m_settings->fileName();
}
