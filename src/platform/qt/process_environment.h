#pragma once
// The running process's side of the content search: its environment variables, its working
// directory and the folder of its executable, gathered for locateContent.
#include "core/front/content_directory.h"

namespace kestrel {

ContentEnvironment contentEnvironmentOfProcess();

}  // namespace kestrel
