#pragma once

#include <QLabel>

// A label that takes a caption with access-key marks: "&&" shows one "&", a single "&" marks
// the next letter and is not shown. caption() gives back the text as it was set.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    void setCaption(const QString& caption);
    QString caption() const { return m_caption; }

    // The text a caption shows.
    static QString shownText(const QString& caption);

private:
    QString m_caption;
};
