#pragma once

#include <QString>

#include <memory>

class QLockFile;
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
    // the game) have stored since. A save writes all its keys, then syncs once. Answers whether
    // what was written reached the file; what did not stays in the store and is committed with
    // the next sync.
    virtual bool sync() { return true; }
    // Held while a save reads the stored tables again and writes them, so that another copy's
    // save cannot come in between and be overwritten.
    virtual std::shared_ptr<void> lockForSave() { return nullptr; }
    // Where the values are kept, and why the last sync could not write there.
    virtual QString fileName() const { return {}; }
    virtual QString failureReason() const { return {}; }
};

// The store of a real run: $XDG_CONFIG_HOME/Lotaro/Lotaro.ini, or ~/.config/Lotaro/Lotaro.ini
// with the home directory of the user database when the environment names none.
class IniSettingsStore final : public SettingsStore {
public:
    IniSettingsStore();
    ~IniSettingsStore() override;
    QString read(const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    void write(const QString& section, const QString& key, const QString& value) override;
    bool sync() override;
    std::shared_ptr<void> lockForSave() override;
    QString fileName() const override;
    QString failureReason() const override { return m_failure; }

private:
    std::unique_ptr<QSettings> makeSettings() const;

    std::unique_ptr<QSettings> m_settings;
    QString m_failure;
};
