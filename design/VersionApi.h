// The four version-record queries the About box needs, over a record carried
// in a Qt plugin's metadata (key "VersionInfo"), so it can be read from a
// module's file without loading it. The block handed out is a version
// resource tree: 8-bit keys and texts, 32-bit aligned nodes.
#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QJsonObject>
#include <cstdint>

namespace LumitraVersion {

// Root value of a block: the fixed part of the record.
struct TFixedFileInfo
{
    std::uint32_t dwSignature;        // 0xFEEF04BD
    std::uint32_t dwStrucVersion;
    std::uint32_t dwFileVersionMS;
    std::uint32_t dwFileVersionLS;
    std::uint32_t dwProductVersionMS;
    std::uint32_t dwProductVersionLS;
    std::uint32_t dwFileFlagsMask;
    std::uint32_t dwFileFlags;
    std::uint32_t dwFileOS;
    std::uint32_t dwFileType;
    std::uint32_t dwFileSubtype;
    std::uint32_t dwFileDateMS;
    std::uint32_t dwFileDateLS;
};
static_assert(sizeof(TFixedFileInfo) == 52);

constexpr std::uint32_t FixedFileInfoSignature = 0xFEEF04BD;

// Path of the module (shared object or executable) that holds Address, NUL
// terminated and cut to Size - 1 characters; its length, 0 on failure.
std::uint32_t GetModuleFileName(const void *Address, char *Buffer, std::uint32_t Size);

// Size in bytes of the version block of the file at Path; 0 when the file has
// no record. Handle is set to 0.
std::uint32_t GetFileVersionInfoSize(const char *Path, std::uint32_t *Handle);

// Fills Data (Length bytes) with the version block of the file at Path; false
// when the file has no record or Length is too small.
bool GetFileVersionInfo(const char *Path, std::uint32_t Handle, std::uint32_t Length, void *Data);

// Looks SubBlock up in Block: "\" gives the fixed record, "\A\B\C" walks the
// children by key (ASCII case ignored). On success Buffer points into the
// block and Length is the value's length (texts: characters including the
// terminating NUL, which is guaranteed to be inside the node).
bool VerQueryValue(const void *Block, const char *SubBlock, void **Buffer, std::uint32_t *Length);

// The block for a record given as JSON:
//   { "FixedFileInfo": { "FileVersion": "1.0.1.2", "ProductVersion": ...,
//       "FileFlagsMask": 63, "FileFlags": 0, "FileOS": 4, "FileType": 2,
//       "FileSubtype": 0, "FileDate": 0 },
//     "StringFileInfo": { "040904E4": { "CompanyName": "...", ... } },
//     "VarFileInfo": { "Translation": [1033, 1252] } }
// Empty when the record does not fit the block's 16-bit lengths.
QByteArray BuildVersionBlock(const QJsonObject &Record);

// The "VersionInfo" record of a plugin file's metadata; empty when none.
QJsonObject ReadVersionRecord(const char *Path);

} // namespace LumitraVersion
