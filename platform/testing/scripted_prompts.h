// SPDX-License-Identifier: GPL-3.0-or-later
// Prompts for tests: every question is answered from a script of queued answers and recorded with everything the
// program showed. A question with no answer left is an error the test sees in errors().
#pragma once

#include "platform/prompts.h"

#include <deque>
#include <string>
#include <vector>

namespace karvo::platform {

enum class question_kind { message_box, input_box, open_file, save_file, choose_folder, choose_colour };

struct asked_question {
    question_kind kind = question_kind::message_box;
    std::string text;    // message text, input prompt, folder dialog title
    std::string caption; // message box caption, input box caption
    message_buttons buttons = message_buttons::ok;
    message_icon icon = message_icon::none;
    file_dialog_options options; // open and save dialogs
    std::string default_text;    // input box default, folder dialog start
    std::uint32_t initial_colour = 0;
};

class scripted_prompts final : public prompts {
public:
    scripted_prompts& answer_message(message_result result);
    scripted_prompts& answer_input(std::optional<std::string> text);
    scripted_prompts& answer_open_file(std::optional<std::string> path);
    scripted_prompts& answer_save_file(std::optional<std::string> path);
    scripted_prompts& answer_folder(std::optional<std::string> path);
    scripted_prompts& answer_colour(std::optional<std::uint32_t> colour);

    const std::vector<asked_question>& questions() const { return questions_; }
    // The texts of the message boxes shown, in order.
    std::vector<std::string> message_texts() const;
    // One line per question that found no scripted answer.
    const std::vector<std::string>& errors() const { return errors_; }
    // Answers queued but never asked for.
    std::size_t unused_answers() const;
    void clear();

    message_result message_box(const std::string& text, const std::string& caption, message_buttons buttons,
                               message_icon icon) override;
    std::optional<std::string> input_box(const std::string& caption, const std::string& prompt,
                                         const std::string& default_text) override;
    std::optional<std::string> open_file(const file_dialog_options& options) override;
    std::optional<std::string> save_file(const file_dialog_options& options) override;
    std::optional<std::string> choose_folder(const std::string& title, const std::string& start) override;
    std::optional<std::uint32_t> choose_colour(std::uint32_t initial) override;

private:
    template <typename T>
    T next(std::deque<T>& queue, const asked_question& question, T fallback);

    std::deque<message_result> messages_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::optional<std::string>> open_files_;
    std::deque<std::optional<std::string>> save_files_;
    std::deque<std::optional<std::string>> folders_;
    std::deque<std::optional<std::uint32_t>> colours_;
    std::vector<asked_question> questions_;
    std::vector<std::string> errors_;
};

} // namespace karvo::platform
