#pragma once

#include <QLabel>

// A label that takes a caption with access-key marks: "&&" shows one "&", a single "&" marks
// the next letter and is not shown. caption() gives back the text as it was set. A text too
// long for the label is shortened in its middle, so both ends (a name's start, a length) stay
// readable, and a note after MediaTitle's separator stays whole; the whole text is then the
// tooltip.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // `detail` (why a file cannot play, say) is added to the tooltip.
    void setCaption(const QString& caption, const QString& detail = QString());
    QString caption() const { return m_caption; }

    // The text a caption shows.
    static QString shownText(const QString& caption);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitText();

    QString m_caption;
    QString m_detail;
};
