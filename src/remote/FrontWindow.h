#pragma once

class QWidget;

// Shows the window at the front, restored if it was minimised, as far as the desktop lets a
// program that the user is not using do so.
void bringToFront(QWidget* window);
