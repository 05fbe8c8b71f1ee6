#pragma once

#include "ui/CreditsScroll.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QWidget;
struct AppState;

// The About window: the product's name and version, a panel of texts that scrolls up through a
// frame, and the maker's home page. A click anywhere but on the home page, or Escape, closes it
// (it then reports finished()).
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(const AppState& state, QWidget* parent = nullptr);

    // The window's caption from the About menu entry: no "&", no "..." at its end.
    static QString caption(const QString& aboutEntry);
    // The version line: the label, a space and major.minor.0.revision.
    static QString versionLine(const QString& label, int major, int minor, int revision);

    // One tick of the scroll timer.
    void stepScroll();
    // The panel's top inside its frame, in twips.
    int panelTop() const { return m_scroll.top(); }

Q_SIGNALS:
    void homePageClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* addLabel(QWidget* parent, const char* name, const QString& text);
    void buildPanel(const AppState& state);
    void placePanel();

    QWidget* m_viewport = nullptr;
    QWidget* m_panel = nullptr;
    QLabel* m_homePage = nullptr;
    CreditsScroll m_scroll;
    QTimer m_scrollTimer{this};
};
