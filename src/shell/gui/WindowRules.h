#pragma once

class QApplication;
class QWidget;

// The rules of the operator's hand, kept by every window of the program. They are installed
// once for the application (Main does it, and so does the test main) and applied whenever a
// window is shown; a new window needs nothing of its own.
// tests/gui/operator_hand_test.cpp presses and tabs through every control of every window in
// every state it shows, and names whatever covers a control or skips it.
//
// 1. A label, picture or frame never takes a press meant for a command.
//    The windows were laid out for a platform where labels and pictures are drawn beneath the
//    buttons and never receive their clicks, so a layout may run a label across a button (the
//    measurement screen's status line lies over "Start" and "Balance"). In Qt a widget made
//    later lies above the ones made before it and would take the press. So the display-only
//    widgets (labels, pictures, plain frames, progress bars) are stacked beneath their sibling
//    controls, keeping their order among themselves.
//    Nothing is made transparent for the mouse: where no control lies, a press on a
//    display-only widget still reaches it, so the gestures that live there keep working (the
//    main menu logo's double click, Shift + right press on the RS-232C window's note line),
//    and a press the widget does not want passes on to the window's background (the main
//    menu's debug gesture).
//
// 2. A focused button answers Enter as well as Space, in plain windows as in dialogs. A window
//    that gives Enter a meaning of its own takes the key before the button does (the RS-232C
//    window moves on as Tab does; the test terminal keeps Enter for its command line).
//    No window has a default button: an Enter that no control took (typed in a grid, an entry
//    or on the form itself) presses nothing.
//
// 3. A key held down presses once. Auto-repeated Enter, Space and Escape are dropped, so a key
//    held since an earlier window, or still held when the button it pressed has gone, never
//    presses the next button or cancels the next form.
//
// Tab follows the order the controls stand on the screen, which is the order each window
// makes them in (or sets with setTabOrder); grids let Tab go on (GridView).
void InstallWindowRules(QApplication& app);

// What the rules do to `window` when it is shown.
void ApplyWindowRules(QWidget* window);
