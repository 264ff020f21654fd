#pragma once

#include <QString>

#include <memory>

class QSettings;

// The per-user store of text values addressed by section and key. Reading never fails: an absent
// key yields the default given. Every value is text.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString read(const QString& section, const QString& key,
                         const QString& defaultValue) const = 0;
    virtual void write(const QString& section, const QString& key, const QString& value) = 0;
    // Commits what was written in one step and takes in what other programs (another copy of
    // the game) have stored since. A save writes all its keys, then syncs once.
    virtual void sync() {}
};

// The store of a real run: $XDG_CONFIG_HOME/Lotaro/Lotaro.ini.
class IniSettingsStore final : public SettingsStore {
public:
    IniSettingsStore();
    ~IniSettingsStore() override;
    QString read(const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    void write(const QString& section, const QString& key, const QString& value) override;
    void sync() override;
    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
