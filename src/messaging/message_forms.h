#pragma once

#include "platform/forms.h"

namespace messaging {

// The window that collects the messages clients send to the operator.
class ReceivedMessagesForm : public platform::Form {
  public:
    ReceivedMessagesForm();

    // Tab position 0, outside the visible area: it only parks the focus.
    platform::CommandButton TAB_0_BUTTON{*this, "TAB_0_BUTTON"};
    platform::TextBox MESSAGES_LIST{*this, "MESSAGES_LIST"};
};

// The window where the operator writes a message to a client.
class SendMessageForm : public platform::Form {
  public:
    SendMessageForm();

    platform::Label Label3{*this, "Label3"};
    platform::TextBox MESSAGE_TEXT{*this, "MESSAGE_TEXT"};
    platform::PictureButton SEND_THE_MESSAGE_BUTTON{*this, "SEND_THE_MESSAGE_BUTTON"};
    platform::ComboBox CLIENT_IP_ADDRESSES_COMBO_BOX{*this, "CLIENT_IP_ADDRESSES_COMBO_BOX"};
};

}  // namespace messaging
