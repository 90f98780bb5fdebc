// The real message boxes: Enter answers with the button the message preselects.
#include "engine/qt/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace kesto {
namespace {

TEST(QtDialogs, EnterAnswersThePreselectedButton) {
    QtDialogs dialogs;
    for (const MessageAnswer preselected : {MessageAnswer::No, MessageAnswer::Yes}) {
        const Message question{"Abort", "Are you sure you want to abort?\nAll Data will be lost",
                               MessageIcon::Question, MessageButtons::YesNo, preselected};
        QString defaultButton;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            defaultButton = box->defaultButton()->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(dialogs.Show(question), preselected);
        EXPECT_EQ(defaultButton, preselected == MessageAnswer::No ? "&No" : "&Yes");
    }
}

} // namespace
} // namespace kesto
