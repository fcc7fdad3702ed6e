#pragma once
// Replay archives (.rpz, ZIP files) over libzip: list the members, extract one member with
// progress, and the text of an error code. The member list is a std::vector owned by the
// caller, so freeing it is its destructor's job.
//
// Progress protocol. While a member is extracted, the extraction posts numbers to a
// TArchiveProgress, and reads back the number the other side holds:
//   0..100  percent done;
//   101     a status text to show;
//   998     the file to be written exists already (its name is the text): the answer 800
//           overwrites it, 801 keeps it and ends the extraction with code 23;
//   999     (held by the other side) the user asked to stop: the extraction ends with 23.
// Code 0 is success; 23 means stopped on request, with no message to show.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kArchiveOk = 0;
inline constexpr int kArchiveStopped = 23;

inline constexpr int kArchiveStatusText = 101;
inline constexpr int kArchiveOverwriteQuestion = 998;
inline constexpr int kArchiveAbort = 999;
inline constexpr int kArchiveOverwriteYes = 800;
inline constexpr int kArchiveOverwriteNo = 801;

// The error codes of the archive functions (never 0 or 23).
enum TArchiveError : int {
    kArchiveCannotOpen = 1,
    kArchiveNotRegularFile = 2,
    kArchiveNotZip = 3,
    kArchiveDamaged = 4,
    kArchiveNoReplays = 5,
    kArchiveMemberMissing = 6,
    kArchiveMemberDamaged = 7,
    kArchiveUnsupportedCompression = 8,
    kArchiveEncrypted = 9,
    kArchiveMemberTooLarge = 10,
    kArchiveIncomplete = 11,
    kArchiveUnsafeName = 12,
    kArchiveLink = 13,
    kArchiveCannotCreate = 14,
    kArchiveDiskFull = 15,
    kArchiveWriteFailed = 16,
    kArchiveOutOfMemory = 17,
    kArchiveDirectoryMember = 18,
    kArchiveNameTooLong = 19,
};
inline constexpr int kArchiveLastError = kArchiveNameTooLong;

// A bound that no replay comes near: a member that claims more is refused before anything
// is written, and one that unpacks to more than it claimed is cut off as damaged, so this
// also bounds what a hostile archive can write. No ratio of packed to unpacked size is
// checked: a replay of parked cars packs several hundred times smaller.
inline constexpr uint64_t kArchiveMaxMemberSize = uint64_t(256) << 20;

// One member of an archive: its name and its position in the archive's directory, which
// tells apart two members of the same name. compressionMethod is the ZIP method number.
struct TArchiveMember {
    std::string name;
    uint64_t index = 0;
    int compressionMethod = 0;
};

class TArchiveProgress {
  public:
    virtual ~TArchiveProgress() = default;
    // One message of the protocol above; returns the number the other side now holds
    // (999 after Abort, 800 or 801 after a 998 question, otherwise anything else).
    virtual int Post(int number, const std::string& text) = 0;
};

// The archive's members that can be extracted (directories left out), in the archive's
// order. Returns 0, or an error code (also when it holds no replays).
int ListArchiveMembers(const std::string& archivePath, std::vector<TArchiveMember>& members);

// Extracts the member at member.index (which must still bear member.name) into
// destinationDirectory, as a file of the member's base name (the name without any directories:
// nothing is ever written outside destinationDirectory). Links, and names that leave no usable file
// name, are refused. On 0, extractedName is the file's name within the directory; on any other code
// nothing the extraction wrote is left behind.
int ExtractArchiveMember(const std::string& archivePath, const std::string& destinationDirectory,
                         const TArchiveMember& member, TArchiveProgress& progress,
                         std::string& extractedName);

// The file name a member is extracted to, or "" when its name leaves none: the part after
// the last '/' or '\', refused when empty, "." or "..", or holding ':' or a control
// character.
std::string ArchiveMemberFileName(const std::string& memberName);

// The message for an error code, shown as it is.
std::string ArchiveErrorText(int code);
// The same, naming what only the member tells (the compression method it is packed with).
std::string ArchiveErrorText(int code, const TArchiveMember& member);
// "Deflate64 (9)", "method 200": a ZIP compression method as a user can look it up.
std::string CompressionMethodName(int method);
