#pragma once

#include <QString>

// The settings file, kept by the rules of a Windows INI file: section and key
// names match regardless of case, a value that is no integer reads as the
// caller's default, and writing a key changes only that key's line (or adds
// the key, the section or the file and its folder), leaving every other line byte for byte.
// QSettings rewrites the whole file, hence this small class.
class IniFile
{
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    // The executable's directory and name with the extension replaced by ".ini"
    // (appended where the name has none).
    static QString PathForExecutable(const QString& executablePath);

    const QString& Path() const { return m_path; }

    // Opens the file anew. "0x"/"0X" followed by digits (longer than two
    // characters) and "$" read as hexadecimal, other values as signed decimal.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // Writes the value in decimal; throws BcfgError "Unable to write to <full
    // path>" when the file cannot be written (the file is then unchanged).
    void WriteInteger(const QString& section, const QString& key, int value);

private:
    QString m_path;
};
