// vimra.scr's entry. Everything the saver needs comes from the command line
// itself (SaverEntry), not from what the runtime passes here.
#include "launch_modes.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    SaverEntry();
}
