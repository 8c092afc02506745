// The gradient push button.
