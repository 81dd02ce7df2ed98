#pragma once

#include "platform/FileStatus.h"
#include "profile/IniSection.h"
#include "profile/KeyIndex.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CByteSource;
class CByteSink;

// The profile document: the whole INI file in memory as ordered sections of ordered lines,
// comments and unknown lines included, with case-insensitive lookups through hash maps.
class CIniFile {
public:
    // Reads the file when a path is given; with nullopt nothing is read.
    explicit CIniFile(std::optional<std::string_view> path = std::nullopt);
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;
    virtual ~CIniFile();

    std::string GetString(
        std::string_view section, std::string_view key, std::string_view defaultValue = {});
    // A nullopt key deletes the section; a nullopt value deletes the key. False, changing
    // nothing, when a part holds a NUL byte.
    bool WriteString(std::string_view section, std::optional<std::string_view> key,
        std::optional<std::string_view> value);
    int GetInt(std::string_view section, std::string_view key, int defaultValue);
    bool WriteInt(std::string_view section, std::string_view key, int value);

    CIniSection* FindSection(std::string_view name) const;
    CIniSection* GetSection(std::string_view name);
    virtual void RemoveAll();

    // A nullopt path means the remembered one.
    bool Load(std::optional<std::string_view> path = std::nullopt);
    bool ReadFrom(CByteSource& source);
    bool Save(std::optional<std::string_view> path = std::nullopt);
    bool WriteTo(CByteSink& sink) const;
    bool ReloadIfChanged();

    // Sections in file order.
    size_t GetSize() const { return m_sections.size(); }
    CIniSection* GetAt(size_t index) const { return m_sections[index].get(); }
    const CFileStatus& Status() const { return m_status; }

    // Normalised name of a section argument: trimmed, brackets removed, trimmed again.
    static std::string NormalizeSectionName(std::string_view name);

    // The system's error number of the last Load or Save that failed on the file (ENOENT
    // for a file that does not exist); 0 after one that succeeded.
    int LastFileError() const { return m_nFileError; }

    // Whether a lookup first reloads a file changed on disk, and a write saves at once.
    void SetAutoReload(bool on) { m_bAutoReload = on; }
    void SetAutoSave(bool on) { m_bAutoSave = on; }
    // For a remembered file that exists but could not be read: saving over it would destroy
    // what the user has, so from here on Save fails on it with EACCES.
    void KeepFile() { m_bKeepFile = true; }
    bool KeepsFile() const { return m_bKeepFile; }

private:
    bool RemoveSection(std::string_view name);
    bool ReadLines(CByteSource& source);
    // line as it is kept: trimmed, without CRs.
    bool ProcessLine(std::string_view line);
    void FinishSection();

    std::vector<std::unique_ptr<CIniSection>> m_sections;
    CFileStatus m_status;
    // Section names in the order of m_sections (views of their m_strName), and the index of
    // them by any spelling, looked up without an upper-cased copy of the name.
    std::vector<std::string_view> m_astrSectionNames;
    CKeyIndex m_mapSections;
    CIniSection* m_pCurSection = nullptr;
    // The text last read, which the lines read from it are views into.
    std::string m_strText;
    // Lines read for m_pCurSection, not yet handed over: views into m_strText.
    std::vector<std::string_view> m_astrPending;
    int m_nFileError = 0;
    bool m_bAutoReload = true;
    bool m_bAutoSave = true;
    bool m_bKeepFile = false;
};
