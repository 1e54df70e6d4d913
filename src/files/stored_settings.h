#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace tunara {

// The per-user settings store: strings by application, section and key.
// By default kept in the user's configuration folder; tests point it at a
// file of their own.
class StoredSettings {
public:
    static QString mainApplicationName();  // "Tunara_Kelm_Main"

    explicit StoredSettings(const QString &applicationName = mainApplicationName());
    // A store backed by one explicit INI file.
    static StoredSettings atFile(const QString &iniPath);
    ~StoredSettings();
    StoredSettings(StoredSettings &&) noexcept;

    QString getSetting(const QString &section, const QString &key, const QString &defaultValue) const;
    void saveSetting(const QString &section, const QString &key, const QString &value);

    // The serial port number as stored ("Properties"/"CommPort", default "1").
    QString commPortText() const;
    void saveCommPort(int portNumber);
    // Upload every byte, not only those that differ ("Properties"/"WriteEveryByte", default off).
    bool writeEveryByte() const;
    void saveWriteEveryByte(bool on);

    // Path of the backing file, for messages and the help.
    QString location() const;

private:
    explicit StoredSettings(std::unique_ptr<QSettings> settings);
    std::unique_ptr<QSettings> m_settings;
};

// The stored port text as a number: whole numbers round half to even;
// 0 means no port selected. Throws RuntimeError when the text is not a
// number or lies outside 0..255.
int parseCommPort(const QString &text);

}  // namespace tunara
