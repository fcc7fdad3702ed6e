#pragma once

#include <QDialog>
#include <QString>
#include <string>

#include "commands/Prompts.h"

class QCheckBox;
class QComboBox;
class QLabel;

// "Choose Track": the track a replay was recorded on, and whether to remember it for the
// replay's directory. Every opening starts on the first track.
class TChooseTrack : public QDialog {
    Q_OBJECT
  public:
    explicit TChooseTrack(const TChooseTrackXfer& xfer, QWidget* parent = nullptr);

    // The chosen index (-1 with no tracks) and the remember box, which counts only when it
    // was shown.
    TChooseTrackXfer Result() const;

    // "Always use " and at most 49 characters of the track's name.
    static QString RememberCaption(const std::string& trackName);

    QComboBox* TrackList() const { return tracks_; }
    QCheckBox* RememberBox() const { return remember_; }
    QLabel* ScopeText() const { return scope_; }

  private:
    void UpdateRememberCaption();

    TChooseTrackXfer xfer_;
    QComboBox* tracks_;
    QCheckBox* remember_;
    QLabel* scope_;
};
