// A timing log of Option's start-up stages, for the start benchmark: when the
// environment variable MOUSE_START_LOG names a file, each stage appends one
// line "<milliseconds since the process was created> <stage>" to it, the
// first time that stage is reached. Without the variable a mark costs one
// look-up at the first call and nothing after.
#pragma once

namespace skin {

void MarkStartStage(const char* stage);

}  // namespace skin
