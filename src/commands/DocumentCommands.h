#pragma once
// The document's life in the main window: New, Open, Save, Save As, the save question, the
// close check, the caption, clearing, reading and writing a document, and the other ways a
// document arrives (recent files, the command line, a dropped file).
#include <string>
#include <vector>

#include "commands/CommandContext.h"

inline constexpr const char* kDocumentFilter = "Telemetry Files (*.kvl)|*.kvl|All Files (*.*)|*.*|";
inline constexpr const char* kMsgNoTrackToSave =
    "The document has no track yet, so there is nothing that could be saved";

// Set up at main window creation: the axes of new documents, the export choices and the
// associations, and the saved-axes snapshot.
void LoadStartupSettings(TCommandContext& ctx);

// Clear the document and reset the views to a new document's: the graph shown, the map
// unfitted, no rubber band, the picture-in-picture window closed.
void ClearDocument(TCommandContext& ctx);

// Replaces the document with the file's contents; false after reporting the one message
// (title "Open Error"). A read that fails before the magic leaves the document, its path
// and the window as they were; once past it the document takes the path, its title and a
// place on the recent-files list, and keeps whatever the read got through.
bool ReadDocument(TCommandContext& ctx, const std::string& path);
// Writes the whole document beside path and renames it over path when complete; false
// after reporting the message (title "Save Error"); the earlier file is then untouched.
bool WriteDocument(TCommandContext& ctx, const std::string& path);

// "File has changed.\nSave before closing?": false when the operation must not go on
// (Cancel, or a Yes whose save did not happen).
bool SaveQuestion(TCommandContext& ctx);

void NewDocument(TCommandContext& ctx);
void OpenCommand(TCommandContext& ctx);
// True when the document was written.
bool SaveCommand(TCommandContext& ctx);
bool SaveAsCommand(TCommandContext& ctx);

// Open a given document path (Open, recent files, command line): remembers its directory
// and reads it.
bool OpenDocumentPath(TCommandContext& ctx, const std::string& path);
void RecentFileChosen(TCommandContext& ctx, const std::string& path);
// Only the first file counts; the remembered directory is not changed.
void FilesDropped(TCommandContext& ctx, const std::vector<std::string>& paths);

// The main window's close check: the save question and the settings written on close.
bool CanClose(TCommandContext& ctx);
// When the main window is destroyed: its axes become those of new documents.
void WriteAxesOnDestroy(TCommandContext& ctx);

// What the axis commands and pop-up menus change: channels an axis cannot hold are ignored.
// False when nothing changed. An empty document is cleared (keeping the saved-axes snapshot
// from before, so that Save can write the change); otherwise the views are told the laps'
// ranges changed.
bool ChangeAxes(TCommandContext& ctx, TelemetryChannel x, TelemetryChannel y, TelemetryChannel y2);

bool SaveEnabled(const TDocument& doc);
bool SaveAsEnabled(const TDocument& doc);
