#include "messaging/message_forms.h"

namespace messaging {

namespace {
const platform::Font text_font{"Arial", 8.25, false};
}  // namespace

ReceivedMessagesForm::ReceivedMessagesForm() : platform::Form("RECEIVED_MESSAGES_FORM") {
    set_caption("Messages Received...");
    set_client_size(8400, 3600);
    set_back_color(platform::colors::black);
    TAB_0_BUTTON.set_caption("TAB 0");
    TAB_0_BUTTON.set_geometry({8640, 3000, 615, 375});
    MESSAGES_LIST.set_geometry({120, 120, 8160, 3360});
    MESSAGES_LIST.set_multi_line(true);
    MESSAGES_LIST.set_font(text_font);
    MESSAGES_LIST.set_colors(platform::colors::black, platform::colors::white);
}

SendMessageForm::SendMessageForm() : platform::Form("SEND_MESSAGE_FORM") {
    set_caption("Send a Message to a Client IP...");
    set_client_size(5400, 3120);
    set_back_color(platform::colors::black);
    Label3.set_geometry({120, 120, 5160, 495});
    Label3.set_font(text_font);
    Label3.set_colors(platform::colors::yellow, platform::colors::black);
    Label3.set_caption(
        "Choose a client IP address from the drop down list, type your message (maximum of 350 "
        "characters)  then click on 'Send':");

    MESSAGE_TEXT.set_geometry({120, 720, 5160, 1575});
    MESSAGE_TEXT.set_multi_line(true);
    MESSAGE_TEXT.set_max_length(350);
    MESSAGE_TEXT.set_font(text_font);
    MESSAGE_TEXT.set_colors(platform::colors::black, platform::colors::white);
    MESSAGE_TEXT.set_tooltip("Type the message to send into this box");

    SEND_THE_MESSAGE_BUTTON.set_geometry({4680, 2430, 600, 600});
    SEND_THE_MESSAGE_BUTTON.set_picture("send");
    SEND_THE_MESSAGE_BUTTON.set_tooltip("Click here to send the message...");

    CLIENT_IP_ADDRESSES_COMBO_BOX.set_geometry({120, 2550, 3000, 330});
    CLIENT_IP_ADDRESSES_COMBO_BOX.set_font(text_font);
}

}  // namespace messaging
