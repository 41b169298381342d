#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/settings_file.h"
#include "fakes/fake_services.h"
#include "util/cp1252.h"

namespace server_test {

using Lines = std::vector<std::string>;

// A main window started in full with doubles for every outside component:
// the sockets are fakes that the test drives.
class ServerTest : public ::testing::Test {
  protected:
    ServerTest() {
        app::Settings settings;
        settings.LISTEN_PORT = 2509;
        settings.TRANSMIT_PORT = 3001;
        settings.DPC_HW_POLL_INTERVAL = 5;
        fake.files.put("/opt/orvanta/Orvanta.ini",
                       util::to_cp1252(app::format_settings(settings, "1/1/26")));
        fake.clock.set_time(21, 5);
        form1->Form_Load();
        fake.tray.calls.clear();
        fake.metrics.calls.clear();
    }

    // The metrics heard since the last look whose first word is one of
    // `kinds` ("request", "sessions", "delivery", ...), oldest first.
    Lines metrics(std::initializer_list<std::string> kinds) {
        Lines heard;
        for (const std::string& call : fake.metrics.calls) {
            for (const std::string& kind : kinds) {
                if (call.compare(0, kind.size() + 1, kind + " ") == 0) {
                    heard.push_back(call);
                }
            }
        }
        fake.metrics.calls.clear();
        return heard;
    }
    // The last of those, or the empty text.
    std::string last_metric(std::initializer_list<std::string> kinds) {
        const Lines heard = metrics(kinds);
        return heard.empty() ? std::string() : heard.back();
    }

    fakes::FakeWinsock& listener() { return *fake.network.sockets.at(0); }
    fakes::FakeWinsock& talker() { return *fake.network.sockets.at(1); }
    // Session element i (1 to 10) was the i-th socket loaded by start-up.
    fakes::FakeWinsock& element(int i) { return *fake.network.sockets.at(1 + i); }
    ui::MainWindow& window() { return form1->window(); }
    const std::string& log_line(int i) { return window().STATUS_LIST.item(i); }

    // A client at address connects, sends text in the given pieces and closes.
    void request(const std::string& address, const Lines& pieces, long id = 1) {
        listener().connection_request(id);
        fakes::FakeWinsock* session = nullptr;
        for (int i = 1; i <= 10; ++i) {
            if (!element(i).accepted.empty() && element(i).accepted.back() == id &&
                element(i).state == platform::Winsock::sckConnected) {
                session = &element(i);
            }
        }
        ASSERT_NE(session, nullptr);
        session->remote_host_ip = address;
        for (const auto& piece : pieces) {
            session->incoming += piece;
            session->data_arrival(static_cast<long>(piece.size()));
        }
        session->state = platform::Winsock::sckClosing;
        session->closed();
    }

    // The talker's connection to address opens.
    void talker_opened(const std::string& address = "10.0.0.1") {
        talker().remote_host_ip = address;
        talker().state = platform::Winsock::sckConnected;
        talker().connected();
    }

    fakes::FakeServices fake;
    std::unique_ptr<app::Form1> form1 = std::make_unique<app::Form1>(fake.services());
};

}  // namespace server_test
