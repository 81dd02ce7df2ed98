#include "window/DialogTemplate.h"

#include <gtest/gtest.h>

#include <string>

TEST(DialogTemplate, EmbeddedTemplatesLoad)
{
    struct Case {
        int id;
        std::string title; // Windows-1252
        SSize size;
        std::size_t controls;
        bool resizable;
    } const cases[] = { { 102, "Pirk Prozent", { 506, 353 }, 18, true },
        { 130, "\334ber Quotino...", { 235, 64 }, 6, false },
        { 133, "Language", { 187, 57 }, 3, false }, { 134, "Server", { 186, 170 }, 5, false },
        { 135, "Hinzuf\374gen", { 226, 70 }, 6, false },
        { 136, "\334ber Quotino...", { 260, 74 }, 5, false },
        { 137, "Details", { 200, 105 }, 6, false }, { 138, "Adresse", { 226, 46 }, 4, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const CDialogTemplate dialog = CDialogTemplate::Load(c.id);
        EXPECT_EQ(dialog.m_nId, c.id);
        EXPECT_EQ(dialog.m_strTitle, c.title);
        EXPECT_EQ(dialog.m_size, c.size);
        EXPECT_EQ(dialog.m_controls.size(), c.controls);
        EXPECT_EQ(dialog.m_bResizable, c.resizable);
        EXPECT_EQ(dialog.m_nPointSize, 8);
    }
    EXPECT_DEATH(CDialogTemplate::Load(4711), "4711.dlg is missing");
}

TEST(DialogTemplate, ParseReadsTextEscapesOptionsAndComments)
{
    const std::string text = "# a comment\r\n"
                             "dialog 7 100 50\r\n"
                             "title \"Say \\\"hi\\\" \\\\ there\"   # trailing comment\n"
                             "font 9 \"Some Sans\"\n"
                             "\n"
                             "edit 1000 1 2 30 40 \"\" multiline readonly vscroll\n"
                             "label -1 5 6 7 8 \"# not a comment\"\n"
                             "label -1 5 16 7 8 \"Gr\303\266\303\237e \342\202\254\"\n"
                             "edit 1002 7 20 115 12 \"x\" maxlength=128\n";
    std::string error;
    const std::optional<CDialogTemplate> dialog = CDialogTemplate::Parse(text, &error);
    ASSERT_TRUE(dialog.has_value()) << error;
    EXPECT_EQ(dialog->m_nId, 7);
    EXPECT_EQ(dialog->m_strTitle, "Say \"hi\" \\ there");
    EXPECT_EQ(dialog->m_strFontFamily, "Some Sans");
    EXPECT_EQ(dialog->m_nPointSize, 9);
    ASSERT_EQ(dialog->m_controls.size(), 4u);

    const CDialogControl& edit = dialog->m_controls[0];
    EXPECT_EQ(edit.kind, CDialogControl::Edit);
    EXPECT_EQ(edit.rect, (SRect { 1, 2, 30, 40 }));
    EXPECT_EQ(edit.nStyle,
        CDialogControl::Multiline | CDialogControl::ReadOnly | CDialogControl::VScroll);
    EXPECT_EQ(dialog->m_controls[1].strText, "# not a comment");
    EXPECT_EQ(dialog->m_controls[2].strText, "Gr\366\337e \200");
    EXPECT_EQ(dialog->Find(1002)->nMaxLength, 128);
    EXPECT_EQ(dialog->Find(4711), nullptr);
}

TEST(DialogTemplate, ParseRejectsMalformedLines)
{
    const std::pair<std::string, std::string> cases[] = {
        { "slider 1 0 0 1 1 \"\"", "line 3: unknown kind \"slider\"" },
        { "label 1 0 0 1 1 text", "line 3: the text must be quoted" },
        { "label 1 0 0 1 1",
            "line 3: a control needs kind, id, left, top, width, height and text" },
        { "label 1 0 0 1 1 \"open", "line 3: unterminated string" },
        { "label 1 0 x 1 1 \"\"", "line 3: id and rectangle must be numbers" },
        { "label 1 0 0 -1 1 \"\"", "line 3: id and rectangle must be numbers" },
        { "label 1 0 0 1 1 \"\" blink", "line 3: unknown option \"blink\"" },
        { "edit 1 0 0 1 1 \"\" maxlength=0", "line 3: unknown option \"maxlength=0\"" },
        { "label 5 0 0 1 1 \"\"\nlabel 5 0 0 1 1 \"\"", "line 4: control id 5 used twice" },
        { "style fixed", "line 3: expected: style resizable" },
        { "font \"Sans\"", "line 3: expected: font <points> \"<family>\"" },
    };
    for (const auto& [line, message] : cases) {
        std::string error;
        EXPECT_FALSE(CDialogTemplate::Parse("dialog 1 10 10\ntitle \"t\"\n" + line, &error));
        EXPECT_EQ(error, message);
    }
    std::string error;
    EXPECT_FALSE(CDialogTemplate::Parse("label 1 0 0 1 1 \"\"", &error));
    EXPECT_EQ(error, "line 1: the first line must be the dialog line");
    EXPECT_FALSE(CDialogTemplate::Parse("# nothing\n", &error));
    EXPECT_EQ(error, "no dialog line");
}
