#include "player/SoundOptionsDialog.h"

#include "core/InterfaceTexts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

SoundOptionsDialog::SoundOptionsDialog(const InterfaceTexts& texts, const SoundFilters& filters,
                                       QWidget* parent)
    : QDialog(parent), m_opening(filters), m_cleanUp(new QCheckBox(texts.text(Text::CleanUpOn))),
      m_boost(new QSpinBox), m_speechNormaliser(new QCheckBox(texts.text(Text::SpeechNormaliser))),
      m_noiseReduction(new QCheckBox(texts.text(Text::NoiseReduction))),
      m_highPass(new QCheckBox(texts.text(Text::HighPassFilter)))
{
    setObjectName(QStringLiteral("soundOptionsDialog"));
    setWindowTitle(texts.plain(Text::SoundCleanUpTitle));
    auto* layout = new QVBoxLayout(this);
    m_cleanUp->setObjectName(QStringLiteral("cleanUpBox"));
    layout->addWidget(m_cleanUp);

    auto* channels = new QGroupBox(texts.plain(Text::ChannelsLabel));
    auto* channelsLayout = new QVBoxLayout(channels);
    for (const auto& [choice, text] : {std::pair{SoundChannels::Both, Text::BothChannels},
                                       std::pair{SoundChannels::LeftOnly, Text::LeftChannelOnly},
                                       std::pair{SoundChannels::RightOnly, Text::RightChannelOnly},
                                       std::pair{SoundChannels::MonoMix, Text::MonoMix}}) {
        auto* button = new QRadioButton(texts.text(text));
        channelsLayout->addWidget(button);
        m_channels[choice] = button;
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                Q_EMIT filtersChanged(this->filters());
        });
    }
    layout->addWidget(channels);

    auto* boostRow = new QFormLayout;
    m_boost->setObjectName(QStringLiteral("boostBox"));
    m_boost->setRange(SoundFilters::kLeastBoost, SoundFilters::kMostBoost);
    m_boost->setSingleStep(SoundFilters::kBoostStep);
    auto* boostLabel = new QLabel(texts.text(Text::VolumeBoostPercent));
    boostLabel->setBuddy(m_boost);
    boostRow->addRow(boostLabel, m_boost);
    layout->addLayout(boostRow);
    for (QCheckBox* box : {m_speechNormaliser, m_noiseReduction, m_highPass})
        layout->addWidget(box);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(texts.plain(Text::Ok), QDialogButtonBox::AcceptRole);
    buttons->addButton(texts.plain(Text::Cancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    showFilters(filters);
    for (QCheckBox* box : {m_cleanUp, m_speechNormaliser, m_noiseReduction, m_highPass})
        connect(box, &QCheckBox::toggled, this, [this] { Q_EMIT filtersChanged(this->filters()); });
    connect(m_boost, &QSpinBox::valueChanged, this,
            [this] { Q_EMIT filtersChanged(this->filters()); });
}

SoundFilters SoundOptionsDialog::filters() const
{
    SoundFilters filters;
    filters.cleanUp = m_cleanUp->isChecked();
    for (const auto& [choice, button] : m_channels) {
        if (button->isChecked())
            filters.channels = choice;
    }
    filters.boostPercent = m_boost->value();
    filters.speechNormaliser = m_speechNormaliser->isChecked();
    filters.noiseReduction = m_noiseReduction->isChecked();
    filters.highPass = m_highPass->isChecked();
    return filters;
}

void SoundOptionsDialog::showFilters(const SoundFilters& filters)
{
    const QList<QObject*> controls = {m_cleanUp, m_boost, m_speechNormaliser, m_noiseReduction,
                                      m_highPass};
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QObject* control : controls)
        quiet.push_back(std::make_unique<QSignalBlocker>(control));
    for (const auto& [choice, button] : m_channels)
        quiet.push_back(std::make_unique<QSignalBlocker>(button));
    m_cleanUp->setChecked(filters.cleanUp);
    m_channels.at(filters.channels)->setChecked(true);
    m_boost->setValue(filters.boostPercent);
    m_speechNormaliser->setChecked(filters.speechNormaliser);
    m_noiseReduction->setChecked(filters.noiseReduction);
    m_highPass->setChecked(filters.highPass);
}

void SoundOptionsDialog::reject()
{
    Q_EMIT filtersChanged(m_opening);
    QDialog::reject();
}
