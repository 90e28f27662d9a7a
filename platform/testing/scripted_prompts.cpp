// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/scripted_prompts.h"

#include <cstdio>

namespace karvo::platform {

namespace {

const char* kind_name(question_kind kind) {
    switch (kind) {
        case question_kind::message_box: return "message box";
        case question_kind::input_box: return "input box";
        case question_kind::open_file: return "open dialog";
        case question_kind::save_file: return "save dialog";
        case question_kind::choose_folder: return "folder dialog";
        case question_kind::choose_colour: return "colour dialog";
    }
    return "question";
}

// The answer a user gives by closing the box: Cancel where there is one, else No, else OK.
message_result closing_answer(message_buttons buttons) {
    switch (buttons) {
        case message_buttons::ok: return message_result::ok;
        case message_buttons::yes_no: return message_result::no;
        case message_buttons::ok_cancel:
        case message_buttons::yes_no_cancel: return message_result::cancel;
    }
    return message_result::cancel;
}

} // namespace

template <typename T>
T scripted_prompts::next(std::deque<T>& queue, const asked_question& question, T fallback) {
    questions_.push_back(question);
    if (queue.empty()) {
        std::string error = std::string("unexpected ") + kind_name(question.kind) + ": \"" + question.text + "\"";
        if (!question.caption.empty())
            error += " (" + question.caption + ")";
        if (!question.options.title.empty())
            error += " (" + question.options.title + ")";
        std::fprintf(stderr, "scripted_prompts: %s\n", error.c_str());
        errors_.push_back(std::move(error));
        return fallback;
    }
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

scripted_prompts& scripted_prompts::answer_message(message_result result) {
    messages_.push_back(result);
    return *this;
}

scripted_prompts& scripted_prompts::answer_input(std::optional<std::string> text) {
    inputs_.push_back(std::move(text));
    return *this;
}

scripted_prompts& scripted_prompts::answer_open_file(std::optional<std::string> path) {
    open_files_.push_back(std::move(path));
    return *this;
}

scripted_prompts& scripted_prompts::answer_save_file(std::optional<std::string> path) {
    save_files_.push_back(std::move(path));
    return *this;
}

scripted_prompts& scripted_prompts::answer_folder(std::optional<std::string> path) {
    folders_.push_back(std::move(path));
    return *this;
}

scripted_prompts& scripted_prompts::answer_colour(std::optional<std::uint32_t> colour) {
    colours_.push_back(colour);
    return *this;
}

std::vector<std::string> scripted_prompts::message_texts() const {
    std::vector<std::string> texts;
    for (const asked_question& question : questions_) {
        if (question.kind == question_kind::message_box)
            texts.push_back(question.text);
    }
    return texts;
}

std::size_t scripted_prompts::unused_answers() const {
    return messages_.size() + inputs_.size() + open_files_.size() + save_files_.size() + folders_.size() +
           colours_.size();
}

void scripted_prompts::clear() {
    *this = scripted_prompts();
}

message_result scripted_prompts::message_box(const std::string& text, const std::string& caption,
                                             message_buttons buttons, message_icon icon) {
    asked_question question;
    question.kind = question_kind::message_box;
    question.text = text;
    question.caption = caption;
    question.buttons = buttons;
    question.icon = icon;
    return next(messages_, question, closing_answer(buttons));
}

std::optional<std::string> scripted_prompts::input_box(const std::string& caption, const std::string& prompt,
                                                       const std::string& default_text) {
    asked_question question;
    question.kind = question_kind::input_box;
    question.text = prompt;
    question.caption = caption;
    question.default_text = default_text;
    return next<std::optional<std::string>>(inputs_, question, std::nullopt);
}

std::optional<std::string> scripted_prompts::open_file(const file_dialog_options& options) {
    asked_question question;
    question.kind = question_kind::open_file;
    question.options = options;
    return next<std::optional<std::string>>(open_files_, question, std::nullopt);
}

std::optional<std::string> scripted_prompts::save_file(const file_dialog_options& options) {
    asked_question question;
    question.kind = question_kind::save_file;
    question.options = options;
    return next<std::optional<std::string>>(save_files_, question, std::nullopt);
}

std::optional<std::string> scripted_prompts::choose_folder(const std::string& title, const std::string& start) {
    asked_question question;
    question.kind = question_kind::choose_folder;
    question.text = title;
    question.default_text = start;
    return next<std::optional<std::string>>(folders_, question, std::nullopt);
}

std::optional<std::uint32_t> scripted_prompts::choose_colour(std::uint32_t initial) {
    asked_question question;
    question.kind = question_kind::choose_colour;
    question.initial_colour = initial;
    return next<std::optional<std::uint32_t>>(colours_, question, std::nullopt);
}

} // namespace karvo::platform
