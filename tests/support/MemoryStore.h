#pragma once

#include "core/SettingsStore.h"

#include <QHash>

// A settings store in memory, so that a test sees exactly what was written and in which order.
class MemoryStore final : public SettingsStore {
public:
    QString read(const QString& section, const QString& key,
                 const QString& defaultValue) const override
    {
        return values.value(section + u'/' + key, defaultValue);
    }
    void write(const QString& section, const QString& key, const QString& value) override
    {
        values.insert(section + u'/' + key, value);
        writes.append(section + u'/' + key);
    }
    bool sync() override { return ++syncs > 0; }

    QHash<QString, QString> values;
    QStringList writes;
    int syncs = 0;
};
