#pragma once

#include <QColor>
#include <QDialog>
#include <functional>
#include <optional>

#include "commands/Prompts.h"

class QFrame;
class QLineEdit;
class QPushButton;

// "Edit Replay Info": a lap's driver name (at most 31 characters) and its line colour.
class TEditInfo : public QDialog {
    Q_OBJECT
  public:
    // Asks for a colour starting from the given one; nullopt when the user cancelled.
    using ChooseColour =
        std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

    explicit TEditInfo(const TEditInfoXfer& xfer, QWidget* parent = nullptr);

    // The colour choice behind "&Change"; by default QColorDialog.
    void SetChooseColour(ChooseColour choose) { choose_ = std::move(choose); }
    // The Help button opens this dialog's topic through the handler; without one it stays
    // disabled.
    void SetHelpHandler(std::function<void(int topic)> handler);

    // The name and colour as they stand, the name as UTF-8 text. A name the user did not
    // touch comes back byte for byte; an edited one is what the file's 31 bytes hold of it.
    TEditInfoXfer Result() const;
    QColor CurrentColour() const { return colour_; }

    // Change: ask for a colour and, on OK, show it in the swatch.
    void ChangeColour();

    // The name as a stored name holds it (platform/NameCodec.h), as UTF-8: at most maxBytes
    // characters, each one Windows-1252 has ('?' for any other).
    static std::string FitName(const QString& name, size_t maxBytes = 31);

    static constexpr int kHelpTopic = 3;
    static constexpr int kMaxNameLength = 31;

  private:
    void PaintSwatch();

    TEditInfoXfer xfer_;
    QColor colour_;
    ChooseColour choose_;
    std::function<void(int)> help_;
    QLineEdit* name_;
    QFrame* swatch_;
    QPushButton* helpButton_;
};
