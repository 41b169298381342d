#include "app/shutdown.h"

#include <cstdint>
#include <limits>

#include "app/form1.h"
#include "app/settings_writer.h"
#include "platform/failure.h"

namespace app {

using platform::resume_next;

Shutdown::Shutdown(Form1& form1, const Services& services) : form1_(form1), services_(services) {}

// Nothing here may stop the program from ending: each step that fails is
// passed over.
void Shutdown::Form_Unload() {
    // From here on only the fade runs: no poll (which could dial while the
    // program ends), no sweep of the sessions, no socket event.
    resume_next([&] { form1_.DPC_HW_POLL().set_enabled(false); });
    resume_next([&] { form1_.SOCKET_CLOSER_TIMER().set_enabled(false); });
    resume_next([&] { form1_.WS_TALKER().Close(); });
    resume_next([&] { form1_.listeners().WS_LISTENER(0).Close(); });
    int highest = 0;
    resume_next([&] { highest = form1_.listeners().UBound(); });
    for (int i = 1; i <= highest; ++i) {
        resume_next([&] { form1_.listeners().Unload(i); });
    }
    // Settings that start-up did not read whole are not written back: the
    // file keeps what the program never saw.
    if (form1_.settings().SAVE_WINDOW_POS && form1_.settings_loaded()) {
        save_window_position();
    }
    resume_next([&] { services_.desktop.fade_out(form1_.window(), 500); });
}

void Shutdown::save_window_position() {
    Settings& settings = form1_.settings();
    const ui::MainWindow& window = form1_.window();
    // A position beyond the 16-bit settings (a minimised window can report
    // one) is not stored: the settings keep the position they had.
    const auto fits = [](int twips) {
        return twips >= std::numeric_limits<std::int16_t>::min() &&
               twips <= std::numeric_limits<std::int16_t>::max();
    };
    if (fits(window.left()) && fits(window.top())) {
        settings.WINDOW_LEFT = static_cast<std::int16_t>(window.left());
        settings.WINDOW_TOP = static_cast<std::int16_t>(window.top());
    }
    // A failing write is ignored: the program ends as usual.
    static_cast<void>(
        SettingsWriter(services_.files, services_.location, services_.clock).write(settings));
}

}  // namespace app
