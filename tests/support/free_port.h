#pragma once

namespace vesk::test {

// A TCP port of 127.0.0.1 that nothing listens on: bound, read and let go, for a server a test
// starts (or a connection it expects to be refused).
int FreeLoopbackPort();

}  // namespace vesk::test
