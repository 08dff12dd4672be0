#include "platform/backend.h"
#include "platform/forms.h"
#include "platform/paths.h"

namespace talvor::platform {

std::string ProgramFilePath(std::string_view name, TFileRole role) {
  // Before the application object exists only the backend can tell.
  const std::string exeName = Application ? Application->ExeName() : backend::ExeName();
  // The contract's text is UTF-8, where no trail byte is ever 0x5C.
  return JoinPath(ProgramFileDirectory(DirectoryOf(exeName), role), name);
}

}  // namespace talvor::platform
