#pragma once

// The portability library: strings, streams and files, the message manager,
// version values and child processes.
#include "pal/File.h"
#include "pal/MsgMan.h"
#include "pal/Process.h"
#include "pal/StrUtil.h"
#include "pal/Stream.h"
#include "pal/String.h"
#include "pal/Version.h"
