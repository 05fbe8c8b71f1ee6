#pragma once

#include <QObject>
#include <QPointer>

class QTextDocument;

// Keeps the background layout of a shown document in short steps. Qt's layout timer lays out a
// piece twice as large at every tick, up to 200,000 characters: on a document of many short
// paragraphs one tick holds the window for a second. Its ticks are taken over here and each
// lays out as much as fits in a few milliseconds, from where the layout has come to.
class LayoutPacer : public QObject {
    Q_OBJECT
public:
    explicit LayoutPacer(QObject* parent = nullptr);

    // Paces the layout of this document from now on, and no longer that of the one before.
    void follow(QTextDocument* document);
    // One step: true when there was layout left to do.
    bool layOutStep();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QTextDocument> m_document;
    QPointer<QObject> m_layout;
};
