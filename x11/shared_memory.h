// Pixels shared with the X server (MIT-SHM): the server reads a frame
// straight from our memory instead of receiving it through the socket. Only
// where the connection is local (a Unix socket: over TCP, even to this
// machine, the server is taken for a remote one), the server offers the
// extension and takes 32-bit pixels of depth 24 in our byte order; else, or
// when the server refuses to attach, there is no shared memory and the copy
// goes through the socket.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstddef>

// `bytes` of zeroed memory that the server has attached as `segment`, or
// null (then `segment` is cleared). The segment is marked for removal as
// soon as both sides hold it, so it goes with the hack however it ends.
unsigned char* AttachSharedMemory(XShmSegmentInfo& segment, std::size_t bytes);

// Releases an attached segment; nothing for a cleared one.
void DetachSharedMemory(XShmSegmentInfo& segment);
