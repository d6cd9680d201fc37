// Engine steps by name, so that the lock tests can write what the test process and a second
// station (engine_write_probe serve) do as one table of steps:
//
//   use <path>            db_use shared (the job's exclusive setting off, files kept open)
//   exclusive <path>      db_use exclusively, without flushing (option 0x4000), files kept open
//   slot <n> <path>       plugs an index file into slot n of the current area (and starts counting
//                         the changes below)
//   goto <n>              db_goto
//   rlock <w>, flock <w>, unlock <all>
//   header, unheader      the caller's header lock (LockArea / UnlockArea)
//   ilock <n>, iunlock <n>  LockIndex (one attempt) / UnlockIndex of slot n
//   ichange <n>           changes slot n's index in this lock period (its header's counter + 1)
//   changes               how often the index lock found an index changed by another station
//   memolock, memounlock  the whole memo file's byte range (as a memo write takes it)
//   append <text>         db_blank, NAME := text, db_insert; answers the new record number
//   replace <text>        reads the current record, NAME := text, db_write
//   memo <text>           db_memo_write of NOTE on the current record
//   write                 db_write
//   close                 db_close(3)
//   area <n>              db_select_area
//   name <text>           db_get_contents of NAME without moving: 1 when it holds text, else 0
//   record <text>         db_get_record without moving: 1 when its NAME holds text, else 0
//
// Each step answers "<result> <error>": the call's result and the error it raised (0: none).
#pragma once

#include <string>

namespace writetest {

std::string RunCommand(const std::string& line);

} // namespace writetest
