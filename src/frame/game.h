// The play state and the empty state skeleton.
#pragma once

class TGame {
 public:
  static int FBoot();
  static int FLoadAssets();
  static int FEnterState();
  static int FExitState();
  static int FRun();
  static int FDraw();
  static int FUpdate();
};

class Template {
 public:
  static int FBoot();
  static int FLoadAssets();
  static int FEnterState();
  static int FExitState();
  static int FRun();
  static int FDrawAll();
  static int FUpdateAll();
};
