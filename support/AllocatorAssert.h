// The assertion box of the allocator: shown when a pool page finds itself inconsistent.
//
// Caption "file '<source>', line <n>", text "<assertion>\r\n(Retry to break)", abort-retry-ignore
// with the error icon, task-modal and in front, through the library's message box. A WM_QUIT
// waiting in the thread's queue is taken off before the box and posted again after it. Abort ends
// the process with exit code 1; Retry breaks into an attached debugger (without one it only
// returns); Ignore returns.
#pragma once

// The source path the allocator's assertions name.
#define ALLOCATOR_SOURCE "\\dev\\h\\qivalloc"

void AllocatorAssert(const char* sourcePath, int line, const char* assertion);
