#include "app/QtPrompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <filesystem>

#include "app/TEditInfoDlg.h"
#include "app/TExportImageDlg.h"
#include "replay/ui/TChooseLap.h"
#include "replay/ui/TImportAvgLaps.h"
#include "replay/ui/TImportLap.h"
#include "track/ui/TChooseTrack.h"

namespace {

struct FilterEntry {
    std::string text;
    std::string pattern;
};

std::vector<FilterEntry> SplitFilter(const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < filter.size()) {
        const size_t bar = filter.find('|', start);
        if (bar == std::string::npos) {
            parts.push_back(filter.substr(start));
            break;
        }
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::vector<FilterEntry> entries;
    // A text without its pattern (a filter not closed by '|') lists every file.
    for (size_t i = 0; i < parts.size(); i += 2)
        entries.push_back({parts[i], i + 1 < parts.size() ? parts[i + 1] : "*.*"});
    return entries;
}

QString QtPatterns(const std::string& pattern) {
    QStringList out;
    for (const QString& p : QString::fromStdString(pattern).split(QLatin1Char(';'))) {
        const QString trimmed = p.trimmed();
        if (trimmed.isEmpty()) continue;
        out << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
    }
    if (out.isEmpty()) out << QStringLiteral("*");
    return out.join(QLatin1Char(' '));
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
    QStringList filters;
    for (const FilterEntry& e : SplitFilter(filter)) {
        QString text = QString::fromStdString(e.text);
        const QString shown =
            QStringLiteral("(") + QString::fromStdString(e.pattern) + QStringLiteral(")");
        const QString patterns = QStringLiteral("(") + QtPatterns(e.pattern) + QStringLiteral(")");
        if (text.endsWith(shown))
            text = text.left(text.size() - shown.size()) + patterns;
        else
            text = (text.isEmpty() ? QString() : text + QLatin1Char(' ')) + patterns;
        filters << text;
    }
    if (filters.isEmpty()) filters << QStringLiteral("(*)");
    return filters;
}

int FilterIndexForPattern(const std::string& filter, const std::string& pattern) {
    const std::vector<FilterEntry> entries = SplitFilter(filter);
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].pattern == pattern) return int(i);
    return 0;
}

TInitialPath SplitInitialPath(const std::string& initialPath) {
    std::string path = initialPath;
    for (char& c : path)
        if (c == '\\') c = '/';
    TInitialPath out;
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        out.name = path;
    } else {
        out.directory = slash == 0 ? "/" : path.substr(0, slash);
        out.name = path.substr(slash + 1);
    }
    out.isPattern = out.name.find_first_of("*?") != std::string::npos;
    return out;
}

std::string AppendDefaultExtension(const std::string& path, const std::string& defaultExt) {
    if (defaultExt.empty() || path.empty() || path.back() == '/') return path;
    if (!std::filesystem::path(path).extension().empty()) return path;
    return path + "." + defaultExt;
}

QMessageBox::Icon QtMessageIcon(TMsgIcon icon) {
    switch (icon) {
        case TMsgIcon::Exclamation:
            return QMessageBox::Warning;
        case TMsgIcon::Stop:
            return QMessageBox::Critical;
        case TMsgIcon::Question:
            return QMessageBox::Question;
        case TMsgIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtMessageButtons(TMsgButtons buttons) {
    switch (buttons) {
        case TMsgButtons::Ok:
            return QMessageBox::Ok;
        case TMsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case TMsgButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

TMsgAnswer MessageAnswer(QMessageBox::StandardButton clicked, TMsgButtons asked) {
    switch (asked) {
        case TMsgButtons::Ok:
            return TMsgAnswer::Ok;
        case TMsgButtons::YesNo:
            return clicked == QMessageBox::Yes ? TMsgAnswer::Yes : TMsgAnswer::No;
        case TMsgButtons::YesNoCancel:
            if (clicked == QMessageBox::Yes) return TMsgAnswer::Yes;
            if (clicked == QMessageBox::No) return TMsgAnswer::No;
            return TMsgAnswer::Cancel;
    }
    return TMsgAnswer::Cancel;
}

TQtPrompts::TQtPrompts(QWidget* dialogParent) : parent_(dialogParent) {
    customColours_.fill(QColor(Qt::black));
}

TMsgAnswer TQtPrompts::MessageBox(const std::string& title, const std::string& text, TMsgIcon icon,
                                  TMsgButtons buttons) {
    QMessageBox box(QtMessageIcon(icon), QString::fromStdString(title),
                    QString::fromStdString(text), QtMessageButtons(buttons), parent_);
    // Exactly the text asked for: a path or a name with '<' in it is not markup.
    box.setTextFormat(Qt::PlainText);
    // The first button is the default, as in every message box of the program.
    box.setDefaultButton(buttons == TMsgButtons::Ok ? QMessageBox::Ok : QMessageBox::Yes);
    if (buttons == TMsgButtons::YesNoCancel) box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    const auto clicked =
        box.clickedButton() ? box.standardButton(box.clickedButton()) : QMessageBox::NoButton;
    return MessageAnswer(clicked, buttons);
}

bool TQtPrompts::FileDialog(TFileDialogXfer& xfer, bool save) {
    QFileDialog dialog(parent_, QString::fromStdString(xfer.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && xfer.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && xfer.confirmOverwrite));
    const QStringList filters = QtNameFilters(xfer.filter);
    dialog.setNameFilters(filters);
    std::string defaultExt = xfer.defaultExt;
    if (!defaultExt.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(defaultExt));
        // A name typed without an extension takes the chosen filter's (PNG or SVG, say);
        // a filter of all files keeps the default one.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& f) {
            static const QRegularExpression single(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
            const QRegularExpressionMatch m = single.match(f);
            defaultExt = m.hasMatch() ? m.captured(1).toStdString() : xfer.defaultExt;
            dialog.setDefaultSuffix(QString::fromStdString(defaultExt));
        });
    }

    const TInitialPath initial = SplitInitialPath(xfer.initialPath);
    if (!initial.directory.empty()) dialog.setDirectory(QString::fromStdString(initial.directory));
    if (initial.isPattern) {
        const int index = FilterIndexForPattern(xfer.filter, initial.name);
        if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
    } else if (!initial.name.empty()) {
        dialog.selectFile(QString::fromStdString(initial.name));
    }

    std::string path;
    for (;;) {
        if (dialog.exec() != QDialog::Accepted) return false;
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty() || files.front().isEmpty()) return false;
        const std::string chosen = files.front().toStdString();
        path = chosen;
        // A platform dialog may ignore the default suffix; a chosen file that exists as
        // named is taken as it is.
        if (save || !std::filesystem::exists(path)) {
            const std::string withExt = AppendDefaultExtension(path, defaultExt);
            if (save || std::filesystem::exists(withExt)) path = withExt;
        }
        // The dialog asked about the name it saw; a file behind the name completed here
        // must not be replaced without asking either.
        if (save && xfer.confirmOverwrite && path != chosen && std::filesystem::exists(path)) {
            const QString name =
                QString::fromStdString(std::filesystem::path(path).filename().string());
            const auto answer = QMessageBox::question(
                parent_, dialog.windowTitle(),
                QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(name),
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
            if (answer != QMessageBox::Yes) continue;
        }
        break;
    }
    xfer.path = path;
    return true;
}

bool TQtPrompts::OpenFileDialog(TFileDialogXfer& xfer) {
    return FileDialog(xfer, false);
}

bool TQtPrompts::SaveFileDialog(TFileDialogXfer& xfer) {
    return FileDialog(xfer, true);
}

bool TQtPrompts::ChooseTrack(TChooseTrackXfer& xfer) {
    TChooseTrack dialog(xfer, parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    xfer = dialog.Result();
    return true;
}

namespace {

// Both import dialogs: the selections come back on OK; the lap-times mode also on Cancel,
// since the mode button stores it at once.
template <typename Dialog>
bool RunImportDialog(TImportLapXfer& xfer, const TImportLapSource& source, QWidget* parent,
                     const std::function<void(int)>& help) {
    Dialog dialog(xfer, source, parent);
    if (help) dialog.SetHelpHandler(help);
    const bool ok = dialog.exec() == QDialog::Accepted;
    if (ok)
        xfer = dialog.Result();
    else
        xfer.lapTimes = dialog.LapTimes();
    return ok;
}

}  // namespace

bool TQtPrompts::ImportLap(TImportLapXfer& xfer, const TImportLapSource& source) {
    return RunImportDialog<TImportLap>(xfer, source, parent_, help_);
}

bool TQtPrompts::ImportAverageLaps(TImportLapXfer& xfer, const TImportLapSource& source) {
    return RunImportDialog<TImportAvgLaps>(xfer, source, parent_, help_);
}

bool TQtPrompts::ChooseLap(TChooseLapXfer& xfer) {
    TChooseLap dialog(xfer, parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    xfer = dialog.Result();
    return true;
}

bool TQtPrompts::ExportImageSize(TExportImageXfer& xfer) {
    TExportImageDlg dialog(xfer, parent_);
    if (dialog.exec() != QDialog::Accepted) return false;
    xfer = dialog.Result();
    return true;
}

bool TQtPrompts::EditInfo(TEditInfoXfer& xfer) {
    TEditInfo dialog(xfer, parent_);
    if (help_) dialog.SetHelpHandler(help_);
    dialog.SetChooseColour([this](const QColor& initial, QWidget* owner) -> std::optional<QColor> {
        // Qt keeps one table of custom colours; ours is put in and taken back, so that it
        // starts black and what the user defines survives between edits.
        for (int i = 0; i < int(customColours_.size()); ++i)
            QColorDialog::setCustomColor(i, customColours_[size_t(i)]);
        const QColor chosen = QColorDialog::getColor(initial, owner);
        for (int i = 0; i < int(customColours_.size()); ++i)
            customColours_[size_t(i)] = QColorDialog::customColor(i);
        if (!chosen.isValid()) return std::nullopt;
        return chosen;
    });
    if (dialog.exec() != QDialog::Accepted) return false;
    xfer = dialog.Result();
    return true;
}
