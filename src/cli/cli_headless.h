// The Qt application object that drawing text needs, on the offscreen platform (no display).
#pragma once

#include <QGuiApplication>
#include <memory>
#include <string>

namespace zeigora::cli {

// Qt wants a private runtime folder, which is made (and removed) here when the environment has
// none.
class THeadlessGui {
  public:
    THeadlessGui();
    ~THeadlessGui();
    THeadlessGui(const THeadlessGui&) = delete;
    THeadlessGui& operator=(const THeadlessGui&) = delete;

  private:
    int Argc_ = 1;
    char Name_[12] = "zeigora-cli";
    char* Argv_[2] = {Name_, nullptr};
    std::string RuntimeDir_;
    std::unique_ptr<QGuiApplication> App_;
};

}  // namespace zeigora::cli
