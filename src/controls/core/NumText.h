// The text model of the number entry field: a string of digits and a sign shown with a fixed
// number of decimals, grouped integer digits and an optional sign. Every edit is applied to the
// text, the separators are stripped and put back, so the user never edits them.
//
// A text that is not a number at all (a status such as "OFF LINE") is shown as it is and reads
// as 0; the first edit replaces it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct NumFormat {
    char decimalChar = ',';
    char groupChar = '.';  // 0 = no grouping
    int minDigits = 1;
    int maxDigits = 11;
    int decimals = 0;
    bool showSign = false;
    bool signInFront = false;
};

namespace numtext {
// Removes separators and signs, then leading zeros; moves both positions left for each
// character removed before them.
std::string Strip(std::string_view text, const NumFormat& f, int* caret = nullptr,
                  int* second = nullptr);
// Pads to minDigits, inserts the separators and the sign; moves the caret over what it inserts.
std::string Format(std::string digits, const NumFormat& f, char signChar, int* caret = nullptr);
// True when the text holds only digits, the separators and signs.
bool IsNumeric(std::string_view text, const NumFormat& f);
// The value of a shown text (0 for a status text or an empty field).
double ValueOf(std::string_view text, const NumFormat& f);
// The digits for a value with `decimals` decimals, no sign and no point ("" for 0).
std::string DigitsOf(double value, int decimals);
}  // namespace numtext

class NumEditModel {
public:
    NumEditModel();

    // SetFormat(decimals, decimalChar, showSign, signInFront): group '.', at most 9 digits.
    void SetFormat(int decimals, char decimalChar, bool showSign, bool signInFront);
    const NumFormat& Format() const { return format_; }
    NumFormat& MutableFormat() { return format_; }

    const std::string& Text() const { return text_; }
    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }
    char SignChar() const { return signChar_; }
    bool ShowsStatus() const { return status_; }
    void SetSelection(int start, int end);

    // A text set by the program: digits are formatted, a status text is shown as it is, a number
    // too long for the field changes nothing. False when nothing changed.
    bool SetText(std::string_view text);
    void SetValue(double value);
    double GetValue() const { return status_ ? 0.0 : numtext::ValueOf(text_, format_); }

    // Typing. False when the key was refused (nothing changed).
    bool TypeChar(char ch);
    bool Backspace();
    bool Delete();
    // Focus: the text is brought into shape again.
    void Reformat();

    // Clipboard. Copy/Cut give the selected digits, or nothing when the selection is empty.
    std::optional<std::string> Copy() const;
    std::optional<std::string> Cut();
    // False (nothing changed) when the text holds what typing would refuse or is too long.
    bool Paste(std::string_view clip);

private:
    struct Saved {
        std::string text;
        int selStart, selEnd;
        char signChar;
    };
    Saved Save() const { return {text_, selStart_, selEnd_, signChar_}; }
    void Restore(const Saved& s);
    void LeaveStatus();
    void ReplaceSelection(std::string_view with);
    // Strips and formats text_ with the caret at `caret`; false (and restored) when too long.
    bool Apply(int caret, const Saved& before);

    NumFormat format_;
    std::string text_;
    std::string lastText_;
    int selStart_ = 0;
    int selEnd_ = 0;
    char signChar_ = '+';
    bool status_ = false;
};
