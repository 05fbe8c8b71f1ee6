#pragma once

#include "core/SoundFilters.h"

#include <QDialog>
#include <map>

class InterfaceTexts;
class QAbstractButton;
class QCheckBox;
class QRadioButton;
class QSpinBox;

// All the sound clean-up on one page. Each change is heard at once; Cancel goes back to the
// filters the dialog opened with.
class SoundOptionsDialog : public QDialog {
    Q_OBJECT
public:
    SoundOptionsDialog(const InterfaceTexts& texts, const SoundFilters& filters,
                       QWidget* parent = nullptr);

    SoundFilters filters() const;
    // Shows filters changed from elsewhere (a refused one switched off) without announcing them.
    void showFilters(const SoundFilters& filters);

Q_SIGNALS:
    void filtersChanged(const SoundFilters& filters);

private:
    void reject() override;

    SoundFilters m_opening;
    QCheckBox* m_cleanUp;
    std::map<SoundChannels, QRadioButton*> m_channels;
    QSpinBox* m_boost;
    QCheckBox* m_speechNormaliser;
    QCheckBox* m_noiseReduction;
    QCheckBox* m_highPass;
};
