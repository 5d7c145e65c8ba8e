#include "shared_memory.h"

#include <sys/shm.h>
#include <sys/socket.h>

#include "target_window.h"

namespace {

int shmOpcode;         // the extension's major opcode: its requests' errors carry it
int attachRefused;
XErrorHandler otherErrors;

int OnAttachError(Display* connection, XErrorEvent* error)
{
    if (error->request_code == shmOpcode) {
        attachRefused = 1;
        return 0;
    }
    return otherErrors(connection, error);
}

int IsLocalConnection()
{
    sockaddr_storage address;
    socklen_t length = sizeof address;
    return getsockname(ConnectionNumber(display), reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
           address.ss_family == AF_UNIX;
}

// Shared pixels are read as they lie: the server's ZPixmap of depth 24 must
// be 32 bits a pixel in the machine's own byte order.
int TakesOurPixels()
{
    const int ourOrder = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? LSBFirst : MSBFirst;
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    int found = 0;
    for (int i = 0; i < count; ++i) {
        found |= formats[i].depth == 24 && formats[i].bits_per_pixel == 32;
    }
    XFree(formats);
    return found && ImageByteOrder(display) == ourOrder;
}

int CanShare()
{
    int eventBase;
    int errorBase;
    return IsLocalConnection() && XQueryExtension(display, "MIT-SHM", &shmOpcode, &eventBase, &errorBase) &&
           TakesOurPixels();
}

}  // namespace

unsigned char* AttachSharedMemory(XShmSegmentInfo& segment, std::size_t bytes)
{
    segment = {};
    if (!CanShare()) {
        return nullptr;
    }
    segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (segment.shmid < 0) {
        segment = {};
        return nullptr;
    }
    void* memory = shmat(segment.shmid, nullptr, 0);
    int attached = 0;
    if (memory != reinterpret_cast<void*>(-1)) {
        segment.shmaddr = static_cast<char*>(memory);
        segment.readOnly = True;
        attachRefused = 0;
        otherErrors = XSetErrorHandler(OnAttachError);
        attached = XShmAttach(display, &segment);
        XSync(display, False);
        XSetErrorHandler(otherErrors);
        attached = attached && !attachRefused;
        if (!attached) {
            shmdt(memory);
        }
    }
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (!attached) {
        segment = {};
        return nullptr;
    }
    return static_cast<unsigned char*>(memory);
}

void DetachSharedMemory(XShmSegmentInfo& segment)
{
    if (segment.shmaddr != nullptr) {
        XShmDetach(display, &segment);
        shmdt(segment.shmaddr);
        segment = {};
    }
}
