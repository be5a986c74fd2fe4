// layer screens
