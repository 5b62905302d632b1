// The adapter's own copy of the C++ runtime keeps a pool for exceptions thrown when memory has
// run out. It is allocated when the adapter is loaded and would be lost, unreachable, when the
// adapter is unloaded; the runtime's release hook frees it first. A shared runtime belongs to
// the whole process and keeps its pool.
#if defined(ORVO_STATIC_CXX_RUNTIME)

namespace __gnu_cxx {
void __freeres() noexcept;
}  // namespace __gnu_cxx

namespace {

struct TReleaseRuntimePoolAtUnload {
  TReleaseRuntimePoolAtUnload() = default;
  TReleaseRuntimePoolAtUnload(const TReleaseRuntimePoolAtUnload&) = delete;
  TReleaseRuntimePoolAtUnload& operator=(const TReleaseRuntimePoolAtUnload&) = delete;
  ~TReleaseRuntimePoolAtUnload() { __gnu_cxx::__freeres(); }
} gReleaseRuntimePoolAtUnload;

}  // namespace

#endif
