#pragma once

class QWidget;

// A window put back where it stood in an earlier run may now be where no screen is: a monitor
// unplugged, a smaller display. The user could not reach it, least of all from the keyboard.
// A window whose title bar shows on some screen stays where it is; any other is moved onto the
// primary screen, near where it was, and made smaller if it does not fit there.
void keepOnScreen(QWidget* window);
