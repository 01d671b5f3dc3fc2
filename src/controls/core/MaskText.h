// The text model of the masked field: characters are accepted only where the mask allows them
// and overwrite what is there; literal places (the ':' of a time) are passed over by themselves.
// The program's only mask is the time "00:00" with the limits "23" and "59", and the text always
// stays a valid prefix of an "HH:MM" time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class MaskEditModel {
public:
    // mask: '0' = a digit place, anything else a literal place; literal: '_' at input places,
    // else the character to show.
    MaskEditModel(std::string mask, std::string literal);
    static MaskEditModel Time() { return MaskEditModel("00:00", "__:__"); }

    const std::string& Text() const { return text_; }
    int Caret() const { return caret_; }
    void SetCaret(int pos);

    // A text set by the program: it becomes the text and the restore text.
    void SetText(std::string_view text);
    const std::string& RestoreText() const { return restore_; }

    // A printable character at the caret. False (beep) when refused.
    bool TypeChar(char ch);
    // Backspace with nothing selected: caret one place left, the restore text's character put
    // back there when the place accepts it (else the character stays). False (beep) at the start.
    bool Backspace();
    // Characters of a pasted text, each as if typed; all or nothing.
    bool Paste(std::string_view clip);

    std::string maxHours = "23";
    std::string maxMinutes = "59";

private:
    bool Accepts(int pos, char ch) const;
    void Put(int pos, char ch);
    void SkipLiteral();

    std::string mask_;
    std::string literal_;
    std::string text_;
    std::string restore_;
    int caret_ = 0;
};

// "HH:MM" of a time, or "" for none; and the time of a complete, valid "HH:MM" text.
struct TimeOfDay {
    int hour = 0;
    int minute = 0;
};
std::optional<TimeOfDay> ParseTimeText(std::string_view text);
