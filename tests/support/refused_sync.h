#pragma once

namespace test_support {

// From now on the kernel refuses every fsync and fdatasync of the calling thread (and of the
// threads and processes it starts) with an input/output error, as it reports a disk that
// failed to take the data; nothing else of the process changes. False when this kernel takes
// no such filter. A process forked to run one test's body is a single thread, so there it
// covers the whole process.
bool RefuseSyncOnThisThread();

}  // namespace test_support
