#include "editor/LayoutPacer.h"

#include <QAbstractEventDispatcher>
#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimerEvent>

namespace {

// The interval Qt's document layout gives its layout timer; its other timer runs at once.
constexpr int kLayoutTimerInterval = 10;
constexpr qint64 kStepNanoseconds = 8'000'000;

bool laidOut(const QTextBlock& block)
{
    return block.layout() && block.layout()->lineCount() > 0;
}

// The first paragraph not laid out yet, or an invalid block when all are. The layout runs from
// the start, so those laid out come first.
QTextBlock firstNotLaidOut(const QTextDocument& document)
{
    int low = 0;
    int high = document.blockCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (laidOut(document.findBlockByNumber(middle)))
            low = middle + 1;
        else
            high = middle;
    }
    return document.findBlockByNumber(low);
}

bool isLayoutTick(QObject* layout, const QTimerEvent* event)
{
    const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher)
        return false;
    const auto timers = dispatcher->registeredTimers(layout);
    return std::any_of(timers.cbegin(), timers.cend(), [&](const auto& timer) {
        return timer.timerId == event->timerId() && timer.interval == kLayoutTimerInterval;
    });
}

} // namespace

LayoutPacer::LayoutPacer(QObject* parent) : QObject(parent) {}

void LayoutPacer::follow(QTextDocument* document)
{
    if (m_layout)
        m_layout->removeEventFilter(this);
    m_document = document;
    m_layout = document ? document->documentLayout() : nullptr;
    if (m_layout)
        m_layout->installEventFilter(this);
}

bool LayoutPacer::layOutStep()
{
    if (!m_document || !m_document->documentLayout())
        return false;
    QAbstractTextDocumentLayout* layout = m_document->documentLayout();
    QElapsedTimer clock;
    clock.start();
    bool any = false;
    // Asking where a paragraph is lays out the document up to it, from where the layout stands,
    // in pieces of the size the timer's first ticks take.
    for (QTextBlock block = firstNotLaidOut(*m_document); block.isValid();
         block = firstNotLaidOut(*m_document)) {
        layout->blockBoundingRect(block);
        any = true;
        if (clock.nsecsElapsed() > kStepNanoseconds || !laidOut(block))
            break;
    }
    return any;
}

bool LayoutPacer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_layout || event->type() != QEvent::Timer ||
        !isLayoutTick(watched, static_cast<QTimerEvent*>(event)))
        return QObject::eventFilter(watched, event);
    // Where nothing is left, Qt's own tick ends its timer.
    return layOutStep();
}
