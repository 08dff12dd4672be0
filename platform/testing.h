// Driving real forms from tests, the same way on every backend: keys and
// mouse events go through the window system's own path (Qt Test on Qt,
// window messages on Win32), so the forms cannot tell a test from a person.
//
// Mouse positions are client coordinates of the control named.
#pragma once

#include <memory>
#include <string>

#include "platform/forms.h"

namespace talvor::platform::testing {

// The application object for a test program: on Qt an offscreen one, on
// Win32 the real one. Hooks are left empty for the test to set.
std::unique_ptr<TApplication> CreateTestApplication();

// Lets queued events and paints happen.
void ProcessEvents();

// A full key press (down, character if any, up) into the control with the
// focus of control's window, or into control itself when it has the focus.
// keypad: the keypad's Enter rather than the main one.
void KeyPress(TControl* control, Word key, TShiftState shift = {}, bool keypad = false);
// Types UTF-8 text as characters (no key codes of their own).
void TypeText(TControl* control, const std::string& text);

void MousePress(TControl* control, TPoint client);
void MouseMove(TControl* control, TPoint client);  // with the left button held
void MouseRelease(TControl* control, TPoint client);
void Click(TControl* control, TPoint client);
void DoubleClick(TControl* control, TPoint client);

// As a click on the window's close box.
void CloseBox(TForm* form);

// The window-system clipboard's text, read back.
std::string ClipboardText();

// The minimum outer size the window system will let the user drag the form to.
TPoint MinimumTrackSize(TForm* form);

// Whether the form's window currently refuses input (a modal run above it).
bool InputDisabled(TForm* form);

}  // namespace talvor::platform::testing
