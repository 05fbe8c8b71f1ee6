#include "pedal/PedalOptionsDialog.h"

#include "core/DialogButtons.h"
#include "core/InterfaceTexts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr Text kPedalCaptions[kPedalCount] = {Text::LeftPedal, Text::MiddlePedal, Text::RightPedal};
constexpr const char* kBoxNames[kPedalCount] = {"leftPedalAction", "middlePedalAction",
                                                "rightPedalAction"};
// The order of the lists: the transcription pedal's own actions first.
constexpr PedalAction kListed[kPedalActionCount] = {
    PedalAction::SkipBack,     PedalAction::HoldToPlay,      PedalAction::SkipForward,
    PedalAction::PlayPause,    PedalAction::Faster,          PedalAction::Slower,
    PedalAction::NextBookmark, PedalAction::InsertTimestamp, PedalAction::Loop,
    PedalAction::Nothing};

} // namespace

PedalOptionsDialog::PedalOptionsDialog(const InterfaceTexts& texts, const PedalOptions& options,
                                       QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("pedalOptionsDialog"));
    setWindowTitle(texts.plain(Text::PedalOptionsTitle));

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("pedalStatus"));
    m_status->setWordWrap(true);
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setMargin(6);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    for (int pedal = 0; pedal < kPedalCount; ++pedal) {
        auto* box = new QComboBox(this);
        box->setObjectName(QLatin1String(kBoxNames[pedal]));
        for (PedalAction action : kListed)
            box->addItem(texts.plain(pedalActionCaption(action)), int(action));
        box->setCurrentIndex(box->findData(int(options.actions[size_t(pedal)])));
        auto* label = new QLabel(texts.plain(kPedalCaptions[pedal]), this);
        label->setBuddy(box);
        // Room for the bold caption of a pedal held down, so that nothing moves.
        QFont bold = label->font();
        bold.setBold(true);
        label->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(label->text()) + 2);
        form->addRow(label, box);
        m_pedalLabels[size_t(pedal)] = label;
        m_actionBoxes[size_t(pedal)] = box;
    }

    auto* hint = new QLabel(texts.plain(Text::PedalRepeatHint), this);
    hint->setWordWrap(true);

    QDialogButtonBox* buttons = okCancelButtons(this, texts);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addSpacing(6);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 70);
}

PedalOptions PedalOptionsDialog::options() const
{
    PedalOptions options;
    for (int pedal = 0; pedal < kPedalCount; ++pedal)
        options.actions[size_t(pedal)] =
            PedalAction(m_actionBoxes[size_t(pedal)]->currentData().toInt());
    return options;
}

void PedalOptionsDialog::showStatus(const QString& text)
{
    m_status->setText(text);
}

void PedalOptionsDialog::showDown(PedalSet down)
{
    for (int pedal = 0; pedal < kPedalCount; ++pedal) {
        QFont font = m_pedalLabels[size_t(pedal)]->font();
        font.setBold(down.has(Pedal(pedal)));
        m_pedalLabels[size_t(pedal)]->setFont(font);
    }
}
