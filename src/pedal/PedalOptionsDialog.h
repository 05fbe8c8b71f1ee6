#pragma once

#include "pedal/PedalOptions.h"

#include <QDialog>
#include <array>

class InterfaceTexts;
class QComboBox;
class QLabel;

// The pedal options: what each pedal does, what the search for a pedal found, and which pedals
// are down now, so that the user can tell them apart by pressing them.
class PedalOptionsDialog : public QDialog {
    Q_OBJECT
public:
    PedalOptionsDialog(const InterfaceTexts& texts, const PedalOptions& options,
                       QWidget* parent = nullptr);

    // The actions as chosen in the dialog.
    PedalOptions options() const;

    void showStatus(const QString& text);
    void showDown(PedalSet down);

private:
    std::array<QLabel*, kPedalCount> m_pedalLabels{};
    std::array<QComboBox*, kPedalCount> m_actionBoxes{};
    QLabel* m_status = nullptr;
};
