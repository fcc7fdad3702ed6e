// The archive and export dialogs of TQtPrompts.
#include <QApplication>
#include <QProgressDialog>

#include "app/QtPrompts.h"
#include "export/ui/TExportReplaySetup.h"
#include "export/ui/TExportSetup.h"
#include "replay/ui/TChooseCompFile.h"
#include "replay/ui/TCompProgress.h"

bool TQtPrompts::ChooseCompFile(TChooseCompFileXfer& xfer) {
    TChooseCompFile dialog(xfer, DialogParent());
    if (help_) dialog.SetHelpHandler(help_);
    if (dialog.exec() != QDialog::Accepted) return false;
    xfer = dialog.Result();
    return true;
}

int TQtPrompts::RunArchiveExtraction(const std::function<int(TArchiveProgress&)>& extraction) {
    TCompProgress dialog(DialogParent());
    dialog.SetAskOverwrite([this](const std::string& question) {
        return MessageBox("Import Lap", question, TMsgIcon::Question, TMsgButtons::YesNo) ==
               TMsgAnswer::Yes;
    });
    // Modal while the extraction runs on this thread: the events pumped at each message
    // reach the dialog and nothing else.
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QApplication::processEvents();
    const int code = extraction(dialog);
    dialog.hide();
    return code;
}

bool TQtPrompts::ExportSetup(TExportSettings& xfer, const TExportSetupHooks& hooks) {
    TExportSetup dialog(xfer, hooks, DialogParent());
    if (help_) dialog.SetHelpHandler(help_);
    if (dialog.exec() != QDialog::Accepted) return false;
    xfer = dialog.Result();
    return true;
}

bool TQtPrompts::ExportReplaySetup(TExportReplayXfer& xfer, const TExportReplaySetupHooks& hooks) {
    TExportReplaySetup dialog(xfer, hooks, DialogParent());
    if (help_) dialog.SetHelpHandler(help_);
    if (dialog.exec() != QDialog::Accepted) return false;
    xfer = dialog.Result();
    return true;
}

void TQtPrompts::RunWithProgress(const std::string& text,
                                 const std::function<void(const TProgressReport&)>& work) {
    QProgressDialog dialog(QString::fromStdString(text), QStringLiteral("Cancel"), 0, 100,
                           DialogParent());
    dialog.setObjectName(QStringLiteral("progress"));
    dialog.setWindowModality(Qt::ApplicationModal);
    // Quick work finishes before anything shows.
    dialog.setMinimumDuration(500);
    dialog.setAutoReset(false);
    dialog.setValue(0);
    work([&dialog](int percent) {
        dialog.setValue(percent);
        QApplication::processEvents();
        return !dialog.wasCanceled();
    });
}
