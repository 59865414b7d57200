#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/printer.h"

namespace tabrel::testing {

// Records every printed line with its font and position. Every character is
// `char_width` twips wide; each line is 240 twips high.
class FakePrinter : public Printer {
 public:
  struct Line {
    std::string text;
    std::string font;
    bool bold = false;
    int points = 0;
    int x = 0;
    int y = 0;
  };
  struct Job {
    std::vector<Line> lines;
    // Indexes into `lines` where a new page began.
    std::vector<std::size_t> page_starts;
    bool envelope = false;
  };

  void SetFont(const std::string& name, bool bold, int points) override {
    font_ = name;
    bold_ = bold;
    points_ = points;
  }
  void PrintLine(const std::string& text) override {
    open.lines.push_back({text, font_, bold_, points_, x_, y_});
    x_ = 0;
    y_ += 240;
  }
  void SetPosition(int x, int y) override {
    x_ = x;
    y_ = y;
  }
  int CurrentX() const override { return x_; }
  int CurrentY() const override { return y_; }
  int TextWidth(const std::string& text) override {
    return static_cast<int>(text.size()) * char_width;
  }
  int PageWidth() const override { return page_width; }
  void SetEnvelopeSetting() override { open.envelope = true; }
  void NewPage() override {
    open.page_starts.push_back(open.lines.size());
    x_ = 0;
    y_ = 0;
  }
  Status EndDoc() override {
    jobs.push_back(open);
    open = Job{};
    x_ = 0;
    y_ = 0;
    return fail_with.value_or(Status::Ok());
  }

  std::vector<Job> jobs;
  Job open;
  int char_width = 100;
  int page_width = 11520;  // eight inches
  std::optional<Status> fail_with;

 private:
  std::string font_;
  bool bold_ = false;
  int points_ = 0;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace tabrel::testing
