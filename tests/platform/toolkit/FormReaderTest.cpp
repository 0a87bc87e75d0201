// The description parser on hostile input.
#include <gtest/gtest.h>

#include "platform/toolkit/FormReader.h"

using namespace tk;

TEST(FormDescription, DeepNestingIsAnErrorNotACrash) {
    const int depth = 1000000;
    const QString lists = "object a: TForm\n  Lines = " + QString(depth, '(') + "\nend";
    QString objects = "object a: TForm\n";
    for (int i = 0; i < depth; ++i) {
        objects += "object b: TPanel\n";
    }
    const QString items = "object a: TForm\n  Items = " + QString("<item V = ").repeated(depth);
    for (const QString& text : {lists, objects, items}) {
        try {
            ParseFormDescription(text, "deep.form");
            ADD_FAILURE() << "no error";
        } catch (const EFormDescription& e) {
            EXPECT_TRUE(e.Message().contains("nested too deeply")) << e.Message().toStdString();
        }
    }
    // Ordinary depths still read.
    const FdObject ok = ParseFormDescription(
        "object a: TForm\n  Lines = ((('x')))\n  object b: TPanel\n    object c: TPanel\n    "
        "end\n  end\nend",
        "ok.form");
    ASSERT_EQ(ok.children.size(), 1u);
    EXPECT_EQ(ok.children[0].children.size(), 1u);
}
