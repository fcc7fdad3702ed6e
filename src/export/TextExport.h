#pragma once
// Export Text Data: every lap's chosen channels sampled at a fixed step along the track
// (feet) or in time (seconds), one block per lap.

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "document/TReplay.h"
#include "track/TTrackData.h"

inline constexpr const char* kExportDataTitle = "Export Data";
inline constexpr const char* kTextExportErrorTitle = "Export Error";
inline constexpr const char* kTextExportWarningTitle = "Export Warning";
inline constexpr const char* kMsgDataExported = "Data successfully exported";
inline constexpr const char* kMsgCannotCreateExport = "Unable to create export file";
inline constexpr const char* kMsgErrorExportingData = "Error exporting data";
inline constexpr const char* kMsgResolutionNotNumber = "Resolution must be a number";
inline constexpr const char* kMsgResolutionUnusual = "Resolution is unusual.\nContinue?";
// Returned when the progress callback stopped the export; the user asked, so nothing is shown.
inline constexpr const char* kMsgExportCancelled = "Export cancelled";

// Column names of the table header, by channel index 0..6.
extern const char* const kTextExportColumnNames[7];

struct TextExportChoices {
    bool xIsPosition = true;  // else time
    double resolution = 10;   // feet or seconds, above 0
    std::array<bool, 7> channels{false, false, true, false, false, false, false};
    bool comma = false;
    // One CSV table in UTF-8 for tools that read tables: a single header row
    // "lap,name,<channel> (<unit>),..." and one row per sample of every lap (lap numbered
    // from 1, the name quoted), instead of one block per lap. Off unless chosen.
    bool table = false;
};

// The resolution text as the export reads it: the whole text must be a number above 0.
std::optional<double> ParseExportResolution(const std::string& text);
// Outside 1..10 feet (position) or 0.1..1 seconds (time): worth asking about.
bool ExportResolutionUnusual(double resolution, bool xIsPosition);

// How an export ended; TextExportMessage gives the text the user sees.
enum class TTextExportStatus {
    Ok,
    CannotCreate,         // kMsgCannotCreateExport
    WriteFailed,          // kMsgErrorExportingData: a write, or a lap no replay can give
    ResolutionNotNumber,  // kMsgResolutionNotNumber: a step that is not above 0
    Cancelled,            // kMsgExportCancelled: the progress answered false
};
// The message that the status stands for ("" for Ok).
const char* TextExportMessage(TTextExportStatus status);

// Told now and then how many rows are written of how many the table will hold; answering
// false stops the export with TTextExportStatus::Cancelled.
using TextExportProgress = std::function<bool(int64_t rowsDone, int64_t rowsTotal)>;

// Writes the table. trackName: the document's current track; track: its data for the
// Line channel (may be nullptr).
TTextExportStatus WriteTextExport(std::ostream& out, const std::vector<const TReplay*>& laps,
                                  const std::string& trackName, const TTrackData* track,
                                  const TextExportChoices& choices,
                                  const TextExportProgress& progress = {});
TTextExportStatus WriteTextExport(const std::string& path, const std::vector<const TReplay*>& laps,
                                  const std::string& trackName, const TTrackData* track,
                                  const TextExportChoices& choices,
                                  const TextExportProgress& progress = {});
