# Sources that include no Windows header. They are part of the program and are also built
# natively with the sanitizers, together with their tests.
set(TANDREL_PORTABLE_SOURCES
  common/StringUtil.cpp
  common/PathUtil.cpp
  common/PeHeader.cpp
  common/ZipReader.cpp
  Window/BannerCarousel.cpp
  Window/FlowQuestions.cpp
  Window/InstallOutcome.cpp
  Window/ProgressDisplay.cpp
  ui/render/ImageDecode.cpp
  ui/render/ImageDescriptor.cpp
  ui/render/ImageGeometry.cpp
  ui/render/SkinValues.cpp
  ui/render/TextMarkup.cpp
  ui/LayoutMath.cpp
  ui/NotifyRouter.cpp
  ui/SkinBuilder.cpp
  ui/SkinClock.cpp
  ui/SkinFile.cpp
  ui/SkinManager.cpp
  ui/SkinManagerInput.cpp
  ui/SkinMarkup.cpp
  ui/SkinMarkupNode.cpp
  ui/SkinPackage.cpp
  ui/SkinAttributes.cpp
  ui/controls/Button.cpp
  ui/controls/Container.cpp
  ui/controls/Control.cpp
  ui/controls/Edit.cpp
  ui/controls/Label.cpp
  ui/controls/Progress.cpp
  ui/controls/TabLayout.cpp
  http/RangePlan.cpp
  http/RangeResponse.cpp
)
list(TRANSFORM TANDREL_PORTABLE_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
