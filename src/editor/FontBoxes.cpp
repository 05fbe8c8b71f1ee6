#include "editor/FontBoxes.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLocale>
#include <optional>

namespace {

const QString kStartFont = QStringLiteral("Arial");
constexpr int kStartSize = 12;
// Larger sizes than word processors accept are not applied.
constexpr double kLargestFontSize = 1638;

// The points a size box's text gives, or nothing for a text that is no size to apply.
std::optional<double> sizeInPoints(const QString& text)
{
    bool numeric = false;
    double points = text.trimmed().toDouble(&numeric);
    if (!numeric)
        points = QLocale().toDouble(text.trimmed(), &numeric);
    if (!numeric || points <= 0 || points > kLargestFontSize)
        return std::nullopt;
    return points;
}

QStringList fontSizes()
{
    QStringList sizes;
    for (int size = 5; size <= 15; ++size)
        sizes << QString::number(size);
    for (int size = 16; size <= 28; size += 2)
        sizes << QString::number(size);
    sizes << QStringLiteral("36") << QStringLiteral("48") << QStringLiteral("72");
    return sizes;
}

} // namespace

QFont FontBoxes::startFont()
{
    QFont font(kStartFont);
    font.setPointSize(kStartSize);
    return font;
}

FontBoxes::FontBoxes(QWidget* parent)
    : QObject(parent), m_nameBox(new QComboBox(parent)), m_sizeBox(new QComboBox(parent))
{
    m_nameBox->setObjectName(QStringLiteral("fontBox"));
    m_nameBox->setEditable(true);
    m_nameBox->setInsertPolicy(QComboBox::NoInsert);
    m_nameBox->setMinimumContentsLength(14);
    m_nameBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_nameBox->addItems(QFontDatabase::families());
    m_nameBox->setEditText(kStartFont);
    // Narrower than its usual width when it must be, so that the window fits a small or
    // scaled screen whole.
    m_nameBox->setMinimumWidth(m_nameBox->minimumSizeHint().width() / 2);

    m_sizeBox->setObjectName(QStringLiteral("sizeBox"));
    m_sizeBox->setEditable(true);
    m_sizeBox->setInsertPolicy(QComboBox::NoInsert);
    m_sizeBox->setMinimumContentsLength(3);
    m_sizeBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_sizeBox->addItems(fontSizes());
    m_sizeBox->setEditText(QString::number(kStartSize));

    connect(m_nameBox, &QComboBox::editTextChanged, this, &FontBoxes::nameEntered);
    connect(m_nameBox, &QComboBox::textActivated, this, &FontBoxes::nameEntered);
    connect(m_sizeBox, &QComboBox::editTextChanged, this, &FontBoxes::sizeEntered);
    connect(m_sizeBox, &QComboBox::textActivated, this, &FontBoxes::sizeEntered);
}

QFont FontBoxes::chosenFont() const
{
    const QString name = m_nameBox->currentText();
    QFont font(m_nameBox->findText(name, Qt::MatchFixedString) >= 0 ? name : kStartFont);
    font.setPointSizeF(sizeInPoints(m_sizeBox->currentText()).value_or(kStartSize));
    return font;
}

void FontBoxes::setPointer(const QCursor& pointer)
{
    m_nameBox->setCursor(pointer);
    m_sizeBox->setCursor(pointer);
}

void FontBoxes::nameEntered(const QString& name)
{
    // A name typed that is no font of the list changes nothing.
    if (m_nameBox->findText(name, Qt::MatchFixedString) >= 0)
        Q_EMIT fontNameChosen(name);
}

void FontBoxes::sizeEntered(const QString& size)
{
    if (const auto points = sizeInPoints(size))
        Q_EMIT fontSizeChosen(*points);
}
