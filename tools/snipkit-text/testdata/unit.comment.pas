//unit Grüße;
//
//interface
//
//// Sagt Hallo
//procedure SayHello(const AName: string);
//
//implementation
//
//procedure SayHello(const AName: string);
//begin
//  if AName <> '' then
//    ShowMessage('Hallo ' + AName + ' – café');
//	WriteLn(1);   
//   x := 1;
// y := 2;
//end;
//
//end.
