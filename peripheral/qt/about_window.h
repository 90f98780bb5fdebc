#pragma once
// frmKestoAbout: the program's title, version and description with the logo.
// Opened modally by "About..." of the Help menu and by a click on the logo of
// the idle race screen.

#include <QDialog>

#include <filesystem>

namespace kesto {

inline constexpr const char* ApplicationTitle = "Kesto Timer";

// "Version " followed by major.minor.patch of this build: "Version 2.0.0".
QString VersionLine();

class FrmKestoAbout final : public QDialog {
    Q_OBJECT
public:
    explicit FrmKestoAbout(const std::filesystem::path& programFolder, QWidget* parent = nullptr);

    // The "About..." menu command: shows the window modally until OK.
    static void ShowModal(const std::filesystem::path& programFolder, QWidget* parent);
};

} // namespace kesto
