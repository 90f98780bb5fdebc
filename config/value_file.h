#pragma once
// The comma-separated value files ("KestoSpeedMultiplier.dat",
// "KestoRaceFormatSettings.dat", "KestoRaceLag.dat", "kestoRacers.dat",
// "LMSounds.dat", and any name list chosen for import).
//
// Writing: each line is one write statement ending in CR LF; values on a line
// are separated by commas. Text is quoted (a quote inside text is doubled);
// whole numbers plain; singles with "." and at most 7 significant digits, with
// a leading zero (0.5, not .5), an exponent as 1E+07 when needed; booleans
// #TRUE# / #FALSE#. Text is stored in Windows-1252.
//
// Reading: values in order, each ended by a comma or a line end (CR, LF or
// CR LF). Leading spaces and tabs are skipped. A quoted value runs to its
// closing quote (commas and line breaks inside belong to it; a doubled quote
// is one quote); anything after the closing quote up to the next comma or line
// end is ignored. An unquoted value runs to the next comma or line end, with
// trailing blanks trimmed. Empty lines hold no value. Numbers are read with
// or without the leading zero (.5, 0.5, -.5, 1E+07).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kesto {

class ValueFileWriter final {
public:
    ValueFileWriter& Text(std::string_view utf8);
    ValueFileWriter& Whole(int64_t value);
    ValueFileWriter& Single(float value);
    ValueFileWriter& Boolean(bool value);
    // Ends the write statement's line with CR LF.
    ValueFileWriter& EndLine();

    // The file's bytes; a line left open is ended first.
    std::string Bytes() const;
    // Replaces the file as a whole (see safe_write.h).
    bool SaveTo(const std::filesystem::path& path, std::string* error) const;

private:
    void Separate();
    std::string m_bytes;
    bool m_lineOpen = false;
};

// Locale-independent text of a single as the writer puts it.
std::string FormatSingle(float value);

// How the bytes of a file are read as text: the timer's own files are
// Windows-1252; a file from elsewhere (a name list to import) is taken as
// UTF-8 when it is valid UTF-8 (a leading byte order mark is dropped), and as
// Windows-1252 otherwise.
enum class ValueFileText { Windows1252, Utf8WhenValid };

class ValueFileReader final {
public:
    // `bytes` as on disk.
    explicit ValueFileReader(std::string bytes, ValueFileText text = ValueFileText::Windows1252);
    // Value files are a few lines: more than this is not one of ours.
    static constexpr size_t MaxFileBytes = size_t{1} << 20;

    // nullopt when the file cannot be opened or read; `error` gets the reason.
    // Only the first `limit` bytes are read, cut back to their last line end.
    static std::optional<ValueFileReader> Open(const std::filesystem::path& path,
                                               std::string* error,
                                               ValueFileText text = ValueFileText::Windows1252,
                                               size_t limit = MaxFileBytes);
    // The file was longer than the limit of Open: its rest was not read.
    bool Cut() const { return m_cut; }

    // True when no value is left.
    bool AtEnd();
    // The next value as text (UTF-8, quotes stripped); nullopt at the end.
    std::optional<std::string> Next();

    // Typed reads: false when the file has ended ("Input past end of file") or
    // the value does not fit the type ("Type mismatch"); `value` is then left
    // as it was. The value is consumed either way.
    bool ReadText(std::string& value);
    bool ReadInt16(int16_t& value);
    bool ReadInt32(int32_t& value);
    bool ReadSingle(float& value);
    bool ReadBoolean(bool& value);

    // Description of the first failed typed read, empty when none failed.
    const std::string& Error() const { return m_error; }

private:
    struct RawValue {
        std::string bytes;
        bool quoted = false;
    };
    std::optional<RawValue> NextRaw();
    void SkipBlankLines();
    bool Fail(const char* description);
    // The next value as a number; false, with the failure noted, otherwise.
    bool ReadNumber(double& number);

    std::string m_bytes;
    bool m_utf8 = false; // the bytes are UTF-8 text already
    size_t m_pos = 0;
    bool m_afterComma = false; // a comma promises one more value, even an empty one
    std::string m_error;
    bool m_cut = false;
};

// The numeric value of a value's text, as the typed reads see it: a number
// (leading zero optional), or #TRUE# (-1) / #FALSE# (0).
std::optional<double> ParseValueNumber(std::string_view text);

} // namespace kesto
