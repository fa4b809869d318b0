// How the program's texts get their memory: large requests are checked against what the machine can still
// give before they are made, and freed memory is kept for the next large text.
#pragma once

#include <cstdint>

// Ends the program with the allocation report for `bytes` when a request that large cannot be met by the
// memory still available: the report, rather than the system ending the process half-way. Small requests
// pass unchecked.
void ensureMemoryFor(std::uint64_t bytes);

// Keeps freed memory in the process for the next large text instead of handing it back at once: a statement
// of many megabytes and its copies are built and freed again with every click, and memory fresh from the
// system costs a page fault per page.
void keepFreedMemoryForReuse();
