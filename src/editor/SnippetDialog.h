#pragma once

#include "editor/Snippets.h"

#include <QDialog>
#include <array>

class InterfaceTexts;
class QCheckBox;
class QLineEdit;

// The nine texts of Ctrl+1 ... Ctrl+9, edited together.
class SnippetDialog : public QDialog {
    Q_OBJECT
public:
    SnippetDialog(const InterfaceTexts& texts, const Snippets& snippets, QWidget* parent = nullptr);

    // The snippets as edited.
    Snippets snippets() const;

private:
    struct Row {
        QLineEdit* text = nullptr;
        QCheckBox* newParagraph = nullptr;
        QCheckBox* timestamp = nullptr;
    };
    std::array<Row, Snippets::kCount> m_rows;
};
