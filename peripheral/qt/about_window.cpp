#include "peripheral/qt/about_window.h"

#include "base/qt/logo_picture.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// The build passes the project version (CMake project(... VERSION ...)).
#ifndef KESTO_VERSION_MAJOR
#error "KESTO_VERSION_MAJOR, _MINOR and _PATCH come from peripheral/CMakeLists.txt"
#endif

namespace kesto {

QString VersionLine() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(KESTO_VERSION_MAJOR)
        .arg(KESTO_VERSION_MINOR)
        .arg(KESTO_VERSION_PATCH);
}

FrmKestoAbout::FrmKestoAbout(const std::filesystem::path& programFolder, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmKestoAbout"));
    setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(ApplicationTitle));

    auto* logo = MakeLogoLabel(programFolder, "imgLogo", 260, 98, this);

    auto* lblTitle = new QLabel(QString::fromLatin1(ApplicationTitle), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    auto* lblVersion = new QLabel(VersionLine(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* lblDescription = new QLabel(QStringLiteral("Remote Control Car racing software."), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addSpacing(8);
    text->addWidget(lblDescription);
    text->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
}

void FrmKestoAbout::ShowModal(const std::filesystem::path& programFolder, QWidget* parent) {
    FrmKestoAbout window(programFolder, parent);
    window.exec();
}

} // namespace kesto
