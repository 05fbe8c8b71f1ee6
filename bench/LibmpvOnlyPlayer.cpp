// The sound reference of the start benchmark: a program that does nothing but play the file on
// its command line with libmpv, set up as the player's engine is, until it is ended. What it
// takes is what loading libmpv and opening the file cost with nothing else to do.

#include "engine/MpvComponentOptions.h"

#include <mpv/client.h>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return 1;
    for (const auto& [name, value] : MpvComponentOptions::kOptions)
        mpv_set_option_string(mpv, name, value);
    mpv_set_option_string(mpv, "idle", "yes");
    const char* command[] = {"loadfile", argv[1], nullptr};
    if (mpv_initialize(mpv) < 0 || mpv_command(mpv, command) < 0) {
        mpv_terminate_destroy(mpv);
        return 1;
    }
    while (mpv_wait_event(mpv, -1)->event_id != MPV_EVENT_SHUTDOWN) {
    }
    mpv_terminate_destroy(mpv);
    return 0;
}
