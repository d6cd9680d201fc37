#include "EngineHooks.h"

#include "BTree.h"
#include "IndexSlots.h"
#include "Locks.h"
#include "Memo.h"
#include "PackedFiles.h"
#include "RecordWrite.h"
#include "TableEncryption.h"

s_EngineHooks g_EngineHooks;

namespace {

// The modules that are part of the engine fill their members before the library's attach
// processing runs.
struct FillHooks {
    FillHooks()
    {
        _db_lock_hooks(g_EngineHooks);
        _db_write_hooks(g_EngineHooks);
        _db_memo_hooks(g_EngineHooks);
        _ntx_hooks(g_EngineHooks);
        _idx_hooks(g_EngineHooks);
        _db_crypt_hooks(g_EngineHooks);
        _pk_hooks(g_EngineHooks);
    }
} s_fillHooks;

} // namespace
