#pragma once

class QString;
class QWidget;

// Names a control for a screen reader, without accelerator marks. An editable combo box takes
// typing in a field of its own, which a screen reader lands on: the field gets the name too.
void setScreenReaderName(QWidget* control, const QString& name);

// Lets a screen reader tell the program's own windows made of a plain widget (the recorder,
// bookmark and waveform windows) as windows, not as a pane inside one.
void installScreenReaderWindows();
