#include "gui_test_support.h"

#include "runtime/gui/requester.h"

#include <string>
#include <vector>

namespace {

using RequesterTest = GuiTest;

struct SeenBox {
    std::vector<std::string> buttons;
    std::string text;
    bool modal = false;
};

// Shows a message box and answers it from inside its loop with the button
// labelled `answer`, or closes it like a window manager when `answer` is
// empty. Returns the box's result and fills `seen` with what it showed.
int32_t Answer(const char* title, const char* text, int32_t flags, const std::string& answer, SeenBox& seen)
{
    WhenIdle([&] {
        GtkWidget* dialog = TopLevelTitled(title);
        ASSERT_NE(dialog, nullptr);
        seen.buttons = ButtonLabels(dialog);
        seen.modal = gtk_window_get_modal(GTK_WINDOW(dialog));
        std::vector<GtkWidget*> labels;
        CollectWidgets(dialog, GTK_TYPE_LABEL, labels);
        for (GtkWidget* label : labels)
            if (text == std::string(gtk_label_get_text(GTK_LABEL(label))))
                seen.text = text;
        if (answer.empty())
            gtk_window_close(GTK_WINDOW(dialog));
        else
            gtk_button_clicked(GTK_BUTTON(ButtonLabelled(dialog, answer)));
    });
    const int32_t result = QV_MessageRequester2(title, text, flags);
    EXPECT_EQ(TopLevelTitled(title), nullptr) << "the box outlived the call";
    return result;
}

TEST_F(RequesterTest, FlagsZeroShowOneOkButton)
{
    SeenBox seen;
    EXPECT_EQ(Answer("Error", "Failed to Initialize Joystick", 0, "Ok", seen), QV_RequesterOk);
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"Ok"}));
    EXPECT_EQ(seen.text, "Failed to Initialize Joystick");
    EXPECT_TRUE(seen.modal);
}

TEST_F(RequesterTest, YesNoBoxesReturnTheCodeOfEachButton)
{
    SeenBox seen;
    EXPECT_EQ(Answer("Ask", "Sure?", QV_RequesterYesNo, "Yes", seen), QV_RequesterYes);
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(Answer("Ask", "Sure?", QV_RequesterYesNo, "No", seen), QV_RequesterNo);
    // Bit 1 is tested first, so both bits give the two-button box.
    EXPECT_EQ(Answer("Ask", "Sure?", 3, "No", seen), QV_RequesterNo);
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"Yes", "No"}));
}

TEST_F(RequesterTest, YesNoCancelBoxesReturnTheCodeOfEachButton)
{
    SeenBox seen;
    EXPECT_EQ(Answer("Ask", "Save?", QV_RequesterYesNoCancel, "Cancel", seen), QV_RequesterCancel);
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"Yes", "No", "Cancel"}));
    EXPECT_EQ(Answer("Ask", "Save?", QV_RequesterYesNoCancel, "Yes", seen), QV_RequesterYes);
    EXPECT_EQ(Answer("Ask", "Save?", QV_RequesterYesNoCancel, "No", seen), QV_RequesterNo);
}

TEST_F(RequesterTest, ClosingTheBoxWithoutAnAnswerReturnsZero)
{
    SeenBox seen;
    EXPECT_EQ(Answer("Error", "Closed", 0, "", seen), 0);
    EXPECT_EQ(QV_Requester.state, -1);
    // A box after a closed one works as the first did.
    EXPECT_EQ(Answer("Error", "Again", 0, "Ok", seen), QV_RequesterOk);
}

TEST_F(RequesterTest, TheBoxIsModalOverAnOpenWindow)
{
    ASSERT_NE(QV_OpenWindow(0, 0, 0, 192, 190, QV_WindowSystemMenu, "Tervane"), nullptr);
    SeenBox seen;
    EXPECT_EQ(Answer("Error", "Over a window", 0, "Ok", seen), QV_RequesterOk);
    EXPECT_TRUE(seen.modal);
    EXPECT_NE(QV_WindowID2(0), nullptr);
}

}  // namespace
