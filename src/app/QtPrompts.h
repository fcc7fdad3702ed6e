#pragma once
// The desktop program's prompts: message boxes, file dialogs and our dialogs, all owned by
// one parent window. The notices to the windows (caption, repaint, lap rows ...) are left to
// the main window, which derives from this class.
#include <QColor>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <array>
#include <functional>
#include <string>

#include "commands/Prompts.h"

class QWidget;

// ---- conversions, kept free so that they can be tested without a dialog ----

// "Text|pattern|Text|pattern|" to Qt's name filters, in order. Patterns separated by ';'
// become space-separated, "*.*" (every file, as the filter means it) becomes "*", and a
// trailing "(pattern)" in the text is rewritten to the converted patterns rather than added
// twice: "Replays (*.rpl;*.rpz)|*.rpl;*.rpz|" gives "Replays (*.rpl *.rpz)".
QStringList QtNameFilters(const std::string& filter);

// The index of the filter whose pattern equals the given one (";"-separated, as in the
// filter), or 0 when none does.
int FilterIndexForPattern(const std::string& filter, const std::string& pattern);

// initialPath split into the directory to start in and the name field: a file name, or a
// pattern such as "*.kvl" or "*.rpl;*.rpz" (isPattern). Backslashes from an older settings
// file count as separators. A directory "" means the current directory.
struct TInitialPath {
    std::string directory;
    std::string name;
    bool isPattern = false;
};
TInitialPath SplitInitialPath(const std::string& initialPath);

// The path with "." + defaultExt appended when its file name has no extension.
std::string AppendDefaultExtension(const std::string& path, const std::string& defaultExt);

QMessageBox::Icon QtMessageIcon(TMsgIcon icon);
QMessageBox::StandardButtons QtMessageButtons(TMsgButtons buttons);
// The button the box was closed with, as the command understands it. A box closed without
// a button (the window's close box, Escape) gives the answer that refuses: Ok for an Ok
// box, No for Yes/No, Cancel for Yes/No/Cancel.
TMsgAnswer MessageAnswer(QMessageBox::StandardButton clicked, TMsgButtons asked);

class TQtPrompts : public TPrompts {
  public:
    explicit TQtPrompts(QWidget* dialogParent);

    // Dialog Help buttons call this with their topic number; without a handler they are
    // disabled.
    void SetHelpHandler(std::function<void(int topic)> handler) { help_ = std::move(handler); }

    TMsgAnswer MessageBox(const std::string& title, const std::string& text, TMsgIcon icon,
                          TMsgButtons buttons) override;
    bool OpenFileDialog(TFileDialogXfer& xfer) override;
    bool SaveFileDialog(TFileDialogXfer& xfer) override;
    bool ChooseTrack(TChooseTrackXfer& xfer) override;
    bool ImportLap(TImportLapXfer& xfer, const TImportLapSource& source) override;
    bool ImportAverageLaps(TImportLapXfer& xfer, const TImportLapSource& source) override;
    bool ChooseLap(TChooseLapXfer& xfer) override;
    bool EditInfo(TEditInfoXfer& xfer) override;
    bool ExportImageSize(TExportImageXfer& xfer) override;
    // Archive and export dialogs (QtPromptsArchiveExport.cpp).
    bool ChooseCompFile(TChooseCompFileXfer& xfer) override;
    int RunArchiveExtraction(const std::function<int(TArchiveProgress&)>& extraction) override;
    bool ExportSetup(TExportSettings& xfer, const TExportSetupHooks& hooks) override;
    bool ExportReplaySetup(TExportReplayXfer& xfer, const TExportReplaySetupHooks& hooks) override;
    void RunWithProgress(const std::string& text,
                         const std::function<void(const TProgressReport&)>& work) override;

  protected:
    QWidget* DialogParent() const { return parent_; }

  private:
    bool FileDialog(TFileDialogXfer& xfer, bool save);

    QPointer<QWidget> parent_;
    std::function<void(int)> help_;
    // The colour dialog's custom colours: black at first use, kept for the run.
    std::array<QColor, 16> customColours_;
};
