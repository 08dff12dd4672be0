// Alignment of controls inside their parent's client area, toolkit-free.
//
// alRight controls stack from the right edge of the parent, keeping their
// width and taking the full client height; an alClient control fills what is
// left. Not responsible for noticing size changes: a backend calls
// AlignControls whenever a form's client size changes or an aligned control
// is placed or resized.
#pragma once

namespace talvor::platform {

class TForm;

// Realigns every aligned control of the form, parents before children.
void AlignControls(TForm& form);

}  // namespace talvor::platform
