unit Unit1;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls;

type
  TForm2 = class(TForm)
    Button1: TButton;
    Edit1: TEdit;
    procedure Button1Click(Sender: TObject);
  private
    { Private declarations }
    FCount: Integer;
  public
    { Public declarations }
  end;

var
  Form2: TForm2;

implementation

{$R *.DFM}

procedure TForm2.Button1Click(Sender: TObject);
var
  i: Integer;
begin
  for i := 1 to 3 do
    Inc(FCount);
  Edit1.Text := 'Pressed ' + IntToStr(FCount) + ' times';
  ShowMessage('Grüße aus Delphi');
end;

end.
