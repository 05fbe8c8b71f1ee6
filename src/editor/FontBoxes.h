#pragma once

#include <QFont>
#include <QObject>

class QComboBox;
class QCursor;
class QWidget;

// The font name and size boxes beside the editor's toolbar. A name of the list or a size a word
// processor accepts, typed or chosen, is announced for the selection; anything else is not.
class FontBoxes : public QObject {
    Q_OBJECT
public:
    // The font and size the boxes show at first, and the text typed into an empty document gets.
    static QFont startFont();

    // Makes the boxes "fontBox" and "sizeBox" in the parent, for its layout to place.
    explicit FontBoxes(QWidget* parent);

    QComboBox* nameBox() const { return m_nameBox; }
    QComboBox* sizeBox() const { return m_sizeBox; }
    // The font and size the boxes show; the start font's where they show none to apply.
    QFont chosenFont() const;
    void setPointer(const QCursor& pointer);

Q_SIGNALS:
    void fontNameChosen(const QString& family);
    void fontSizeChosen(double points);

private:
    void nameEntered(const QString& name);
    void sizeEntered(const QString& size);

    QComboBox* m_nameBox;
    QComboBox* m_sizeBox;
};
