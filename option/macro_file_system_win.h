// The files beneath the macro store: sequence.dat is read and rewritten whole
// through our own engine. The system's profile functions reopen the file for
// every key, which for a few hundred macros costs seconds at every start and
// every save. The named lock keeps rewrites exclusive with any other writer.
#pragma once

#include "common/settings/ini_engine.h"
#include "common/settings/ini_rewrite_lock_win.h"
#include "common/settings/utf8_file_store.h"
#include "common/win/text_mode_win.h"

namespace option {

class MacroFileSystem {
  public:
    settings::IniFileSystem& Files() { return engine_; }

  private:
    settings::DiskTextFileStore disk_;
    win::SystemLegacyCodePage legacy_;
    // Macro files of earlier versions hold names in the legacy code page.
    settings::Utf8FileStore utf8_{disk_, legacy_};
    settings::NamedMutexIniRewriteLock lock_;
    settings::EngineIniFileSystem engine_{utf8_, lock_};
};

}  // namespace option
