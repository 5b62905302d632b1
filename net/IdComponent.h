#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace orvo {

// The root of every component: it keeps the component state (loading, designing) and the
// notification that loading has finished. Components are not copied.
class TIdBaseComponent {
 public:
  TIdBaseComponent() = default;
  TIdBaseComponent(const TIdBaseComponent&) = delete;
  TIdBaseComponent& operator=(const TIdBaseComponent&) = delete;
  virtual ~TIdBaseComponent();

  bool IsLoading() const noexcept { return FLoading; }
  bool IsDesigning() const noexcept { return FDesigning; }
  void SetDesigning(bool designing) noexcept { FDesigning = designing; }
  // Marks the component as being read from a stored description, until EndLoading.
  void BeginLoading() noexcept { FLoading = true; }
  // Clears the loading flag and notifies the component through Loaded.
  void EndLoading();

 protected:
  virtual void Loaded() {}

 private:
  bool FLoading = false;
  bool FDesigning = false;
};

enum class TIdStatus : std::uint8_t {
  hsResolving,
  hsConnecting,
  hsConnected,
  hsDisconnecting,
  hsDisconnected,
  hsStatusText
};

class TIdComponent;
using TIdStatusEvent =
    std::function<void(TIdComponent& ASender, TIdStatus AStatus, const std::string& AStatusText)>;

// The base of every network component: the first one made makes the process-wide SharedStack
// (whose failure fails it), the last one destroyed releases it.
class TIdComponent : public TIdBaseComponent {
 public:
  TIdComponent();
  ~TIdComponent() override;

  const TIdStatusEvent& OnStatus() const noexcept { return FOnStatus; }
  void SetOnStatus(TIdStatusEvent event) { FOnStatus = std::move(event); }

 private:
  TIdStatusEvent FOnStatus;
};

// The number of live TIdComponent instances, of any subclass.
std::int32_t StackUserCount() noexcept;

// Held while SharedStack is made or released, and while a message reads the local address.
std::mutex& StackLock() noexcept;

}  // namespace orvo
