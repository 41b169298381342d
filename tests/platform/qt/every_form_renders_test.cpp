// Every window of the program, rendered: each control has its widget where
// the form puts it, in its font and with its picture, and no caption, port or
// folder is cut off.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_file_system.h"
#include "fakes/fake_services.h"
#include "fakes/fake_version_info.h"
#include "info/about_box.h"
#include "info/dpc_info_form.h"
#include "info/splash_screen.h"
#include "messaging/message_forms.h"
#include "platform/forms.h"
#include "platform/qt/conversions.h"
#include "platform/qt/form_renderer.h"
#include "platform/qt/picture.h"
#include "ui/main_window.h"
#include "ui/options_form.h"
#include "util/file_utilities.h"

namespace {

using platform::qt::FormRenderer;

std::unique_ptr<info::DpcInfoForm> make_dpc_info_form() {
    static fakes::FakeFileSystem files;
    static fakes::FakeProgramLocation location;
    static fakes::FakeVersionInfo version_info;
    static util::FileUtilities file_utilities(files, location);
    return std::make_unique<info::DpcInfoForm>(file_utilities, version_info);
}

std::vector<std::function<std::unique_ptr<platform::Form>()>> every_form() {
    return {
        [] { return std::make_unique<ui::MainWindow>(); },
        [] { return std::make_unique<ui::OptionsForm>(); },
        make_dpc_info_form,
        [] {
            return std::make_unique<info::AboutBox>(info::ProgramVersion{1, 0, 0});
        },
        [] {
            return std::make_unique<info::SplashScreen>(info::ProgramVersion{1, 0, 0});
        },
        [] { return std::make_unique<messaging::ReceivedMessagesForm>(); },
        [] { return std::make_unique<messaging::SendMessageForm>(); },
    };
}

// The picture a control shows, if it is of a kind that has one.
std::string picture_of(const platform::Control& control) {
    if (const auto* button = dynamic_cast<const platform::PictureButton*>(&control)) {
        return button->picture();
    }
    const auto* image = dynamic_cast<const platform::Image*>(&control);
    return image != nullptr ? image->picture() : "";
}

// Whether the label's caption, wrapped as the label wraps it, fits inside.
bool caption_fits(const QLabel& label) {
    const QRect room(QPoint(0, 0), label.size());
    const QRect needed =
        QFontMetrics(label.font())
            .boundingRect(room, static_cast<int>(Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap),
                          label.text());
    return needed.width() <= room.width() && needed.height() <= room.height();
}

// Whether the field shows its whole text: from its start, and so that moving
// the cursor to the end scrolls nothing (the field scrolls as it draws).
bool shows_whole_text(QLineEdit& field) {
    const auto cursor_x = [&field](qsizetype position) {
        field.setCursorPosition(static_cast<int>(position));
        field.grab();
        return field.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    const int width = QFontMetrics(field.font()).horizontalAdvance(field.text());
    return field.cursorPosition() == 0 && cursor_x(field.text().size()) - cursor_x(0) == width;
}

TEST(EveryFormRenders, EachControlHasItsWidgetAtItsPlace) {
    for (const auto& make : every_form()) {
        const std::unique_ptr<platform::Form> form = make();
        SCOPED_TRACE(form->name());
        FormRenderer renderer(*form);
        // The title is exactly the caption: no application name added.
        EXPECT_EQ(renderer.window().windowTitle().toStdString(), form->caption());
        EXPECT_EQ(renderer.window().minimumSize(), renderer.window().maximumSize());
        EXPECT_EQ(renderer.window().size(), QSize(platform::qt::to_pixels(form->client_width()),
                                                  platform::qt::to_pixels(form->client_height())));
        if (!form->picture().empty()) {
            EXPECT_FALSE(platform::qt::render_picture(form->picture(), {16, 16}, 1).isNull());
        }
        for (const platform::Control* control : form->controls()) {
            SCOPED_TRACE(control->name());
            const QWidget* widget = renderer.widget_of(*control);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->geometry(), platform::qt::to_qrect(control->geometry()));
            const QWidget* parent = control->frame() != nullptr
                                        ? renderer.widget_of(*control->frame())
                                        : &renderer.window();
            if (control->font().points > 0) {
                EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), control->font().points);
                EXPECT_EQ(widget->font().bold(), control->font().bold);
            }
            if (const std::string picture = picture_of(*control); !picture.empty()) {
                EXPECT_FALSE(platform::qt::render_picture(picture, {16, 16}, 1).isNull())
                    << picture;
            }
            const bool is_label = dynamic_cast<const platform::Label*>(control) != nullptr;
            if (const auto* label = qobject_cast<const QLabel*>(widget);
                is_label && label && widget->isVisibleTo(parent)) {
                EXPECT_TRUE(caption_fits(*label)) << label->text().toStdString();
            }
        }
    }
}

TEST(EveryFormRenders, PortFieldsShowEveryPortWhole) {
    ui::OptionsForm form;
    FormRenderer renderer(form);
    form.set_visible(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&renderer.window()));
    for (platform::TextBox* port : {&form.LISTEN_PORT_TEXT, &form.TRANSMIT_PORT_TEXT}) {
        auto* field = qobject_cast<QLineEdit*>(renderer.widget_of(*port));
        ASSERT_NE(field, nullptr);
        for (const char* number : {"32767", "23614", "2509"}) {
            port->set_text(number);
            EXPECT_TRUE(shows_whole_text(*field)) << port->name() << " " << number;
        }
    }
}

TEST(EveryFormRenders, FolderBreaksAnywhereAndLosesItsMiddleRatherThanItsEnd) {
    const std::unique_ptr<info::DpcInfoForm> form = make_dpc_info_form();
    platform::Label& folder = form->lbl_DPC_OCX_LOCATION;
    FormRenderer renderer(*form);
    const auto* label = qobject_cast<QLabel*>(renderer.widget_of(folder));
    ASSERT_NE(label, nullptr);
    const auto shown = [label] { return label->text().remove('\n'); };

    // A folder name longer than a line is broken inside: the path takes two.
    folder.set_caption("/opt/DirecPCNavigatorControlSatelliteEdition2004/Bin");
    EXPECT_EQ(shown().toStdString(), folder.caption());
    EXPECT_TRUE(caption_fits(*label)) << label->text().toStdString();
    // Given more room, the path is fitted afresh: one line.
    const platform::Geometry narrow = folder.geometry();
    folder.set_geometry({narrow.left, narrow.top, narrow.width * 3, narrow.height});
    EXPECT_EQ(label->text().toStdString(), folder.caption());
    folder.set_geometry(narrow);

    const QString deep = "/srv" + QString("/Satellite_Navigator").repeated(20) + "/DirecPC/Bin";
    folder.set_caption(deep.toStdString());
    EXPECT_TRUE(caption_fits(*label)) << label->text().toStdString();
    const QStringList halves = shown().split(QChar(0x2026));
    ASSERT_EQ(halves.size(), 2) << label->text().toStdString();
    EXPECT_TRUE(deep.startsWith(halves[0]) && halves[0].size() >= 20) << halves[0].toStdString();
    EXPECT_TRUE(deep.endsWith(halves[1]) && halves[1].size() >= 20) << halves[1].toStdString();

    folder.set_caption("/opt/DirecPC/Bin");
    EXPECT_EQ(label->text(), "/opt/DirecPC/Bin");
}

}  // namespace
